// The channel editor frame with fake panels: placement by channel kind,
// loading, the routing of panel, curve and header edits, Copy, 48V, live
// updates and its picture.
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <set>

#include "fake_editor_panel.h"
#include "i18n/language.h"
#include "modal_answer.h"
#include "param_writes.h"
#include "recording_host.h"
#include "screenshot.h"
#include "ui/controls/response_curve.h"
#include "ui/controls/skinned_button.h"
#include "ui/controls/skinned_combo_box.h"
#include "ui/controls/skinned_fader.h"
#include "ui/controls/skinned_label.h"
#include "ui/controls/skinned_slider.h"
#include "values/editor_addresses.h"

namespace rmt4::ui {
namespace {

using namespace editor_code;
using test::Click;
using test::FakeEditorPanel;

constexpr ParamAddress kCh1 = 46;
constexpr ParamAddress kCh3 = 46 + 2 * 43;

class ChannelEditorFrameTest : public ::testing::Test {
 protected:
  ChannelEditorFrameTest() {
    frame_.show();
    test::DeliverPosted();
  }
  ~ChannelEditorFrameTest() override { (void)SetCurrentLanguage(LanguageIndex::English); }

  FakeEditorPanel& Panel(PanelKind kind) { return test::FakePanel(frame_, kind); }
  /// The addresses `action` changed.
  std::set<ParamAddress> Written(const std::function<void()>& action) {
    const std::vector<std::uint16_t> before = test::Snapshot(params_);
    action();
    test::DeliverPosted();
    std::set<ParamAddress> written;
    for (ParamAddress a = 0; a < kParamCount; ++a) {
      if (params_.Value(a) != before[a]) written.insert(a);
    }
    return written;
  }

  ParamTable params_;
  LinkJobs jobs_;
  ChannelEditorFrame frame_{nullptr, params_, jobs_, test::MakeFakePanels};
};

struct KindCase {
  int channel;
  PanelKind panel;
  bool copy, phantom, phase, left, balance;
  const char* title;
};

TEST_F(ChannelEditorFrameTest, SelectChannelShowsThePanelAndHeaderOfTheKind) {
  (void)SetCurrentLanguage(LanguageIndex::English);
  const KindCase cases[] = {
      {2, PanelKind::Channel, true, true, false, true, true, "CH3"},
      {8, PanelKind::Channel, false, false, false, true, true, "ST9/10"},
      {9, PanelKind::Channel, false, false, false, true, true, "DIGTAL"},
      {11, PanelKind::EffectReturn, false, false, false, false, false, "Fx2"},
      {12, PanelKind::MainOutput, false, false, true, false, true, "MAIN"},
      {15, PanelKind::AuxOutput, false, false, true, true, false, "AUX3"},
  };
  for (const KindCase& c : cases) {
    SCOPED_TRACE(c.title);
    frame_.SelectChannel(c.channel);
    EXPECT_EQ(frame_.selectedChannel(), c.channel);
    EXPECT_TRUE(Panel(c.panel).isVisible());
    EXPECT_EQ(Panel(c.panel).channel(), c.channel);
    for (PanelKind other : {PanelKind::Channel, PanelKind::EffectReturn, PanelKind::MainOutput, PanelKind::AuxOutput}) {
      EXPECT_EQ(Panel(other).isVisible(), other == c.panel);
    }
    EXPECT_EQ(frame_.HeaderShown(frame_.button(ChannelEditorFrame::kCopy)), c.copy);
    EXPECT_EQ(frame_.HeaderShown(frame_.button(ChannelEditorFrame::kPhantom)), c.phantom);
    EXPECT_EQ(frame_.HeaderShown(frame_.button(ChannelEditorFrame::kPhase)), c.phase);
    EXPECT_EQ(frame_.HeaderShown(frame_.button(ChannelEditorFrame::kLeft)), c.left);
    EXPECT_EQ(frame_.HeaderShown(frame_.button(ChannelEditorFrame::kRight)), c.left);
    EXPECT_EQ(frame_.HeaderShown(frame_.balance()), c.balance);
    EXPECT_EQ(frame_.button(ChannelEditorFrame::kCopy).y() < 0, !c.copy) << "hidden controls are parked above the frame";
    EXPECT_EQ(frame_.title().text(), c.title);
    int enabled = 0;
    for (std::uint8_t point : frame_.curve().pointEnabled) enabled += point;
    EXPECT_EQ(enabled, c.channel >= 12 ? 15 : 6);
  }
  EXPECT_EQ(frame_.inputSelection(), 11);
  EXPECT_EQ(frame_.outputSelection(), 3);
  EXPECT_EQ(frame_.selector(0).shownIndex(), 11);
  EXPECT_EQ(frame_.selector(1).shownIndex(), 3);
  frame_.SelectChannel(19);
  EXPECT_EQ(frame_.selectedChannel(), 15) << "no channel 19";
}

TEST(ChannelEditorFrameWithoutPanels, AChannelWithoutAPanelIsNotOpened) {
  ParamTable params;
  LinkJobs jobs;
  ChannelEditorFrame frame(nullptr, params, jobs, [](QWidget*) { return EditorPanels{}; });
  EXPECT_FALSE(frame.CanOpen(0));
  frame.SelectChannel(3);
  EXPECT_EQ(frame.selectedChannel(), 0);
}

TEST_F(ChannelEditorFrameTest, SelectingLoadsThePanelTheCurveAndTheHeader) {
  ParamSet(params_, kCh3 + 33, 600);      // band 2 gain +10 dB
  ParamSet(params_, kCh3 + 32, 0x8000 + 990);  // band 2 at 99.0 Hz
  ParamSet(params_, kCh3 + 0, 12 & ~0x08);     // muted, no phantom power
  ParamSet(params_, kCh3 + 11, 0);        // L routed: lit in the header
  ParamSet(params_, kCh3 + 3, 150);
  frame_.SelectChannel(2);
  FakeEditorPanel& panel = Panel(PanelKind::Channel);
  EXPECT_EQ(panel.values[kBandGain + 1], 600);
  EXPECT_EQ(panel.values[kBandFrequency + 1], 0x8000 + 990);
  EXPECT_EQ(panel.values[kDelay], 0);
  EXPECT_EQ(panel.applied.back().first, kEqOn) << "in the panel's load order";
  EXPECT_EQ(panel.resets, 1);
  EXPECT_EQ(frame_.curve().pointGain[3], 100);
  EXPECT_DOUBLE_EQ(frame_.curve().pointFrequency[3], 99.0);
  EXPECT_EQ(frame_.button(ChannelEditorFrame::kInputMute).state(), 2);
  EXPECT_EQ(frame_.button(ChannelEditorFrame::kPhantom).state(), 1);
  EXPECT_EQ(frame_.button(ChannelEditorFrame::kLeft).state(), 2) << "0 is lit in the header";
  EXPECT_EQ(frame_.button(ChannelEditorFrame::kRight).state(), 1) << "1300 is unlit";
  EXPECT_EQ(frame_.balance().GetValue(), 150);
}

TEST_F(ChannelEditorFrameTest, ACurveBandEditWritesWhatAPanelEditWrites) {
  frame_.SelectChannel(0);
  FakeEditorPanel& panel = Panel(PanelKind::Channel);
  const std::set<ParamAddress> byPanel = Written([&] {
    panel.Edit(kBandGain + 1, 470);
    panel.Edit(kBandFrequency + 1, 1000);
    panel.Edit(kBandQ + 1, 250);
  });
  EXPECT_EQ(byPanel, (std::set<ParamAddress>{kCh1 + 32, kCh1 + 33, kCh1 + 34}));
  EXPECT_EQ(frame_.curve().pointGain[3], -30) << "the curve follows the panel";

  ResponseCurve& curve = frame_.curve();
  curve.pointGain[3] = 60;
  curve.pointFrequency[3] = 2000;
  curve.pointQ[3] = 1.15;
  panel.applied.clear();
  const std::set<ParamAddress> byCurve = Written([&] { SendWindowMessage(&frame_, kCurveEdited, 0, 1); });
  EXPECT_EQ(byCurve, byPanel);
  EXPECT_EQ(params_.Value(kCh1 + 33), 560);
  EXPECT_EQ(params_.Value(kCh1 + 32), 2000);
  EXPECT_EQ(params_.Value(kCh1 + 34), 115);
  EXPECT_EQ(panel.applied, (std::vector<std::pair<int, int>>{{kBandGain + 1, 560}, {1, 2000}, {kBandQ + 1, 115}}))
      << "gain, frequency, Q, each shown on the panel first";
  curve.pointFrequency[ResponseCurve::kHpfPoint] = 19.7;
  EXPECT_EQ(Written([&] { SendWindowMessage(&frame_, kCurveEdited, ResponseCurve::kHpfNotice, 0); }),
            (std::set<ParamAddress>{kCh1 + 24}));
  EXPECT_EQ(params_.Value(kCh1 + 24), 0x80C5) << "19.7 Hz in tenths with bit 15";
  EXPECT_EQ(panel.values[kHpfFrequency], 0x80C5);
  EXPECT_TRUE(Written([&] { SendWindowMessage(&frame_, kCurveEdited, 0, 13); }).empty());
  EXPECT_TRUE(Written([&] { SendWindowMessage(&frame_, kCurveEdited, 0, 4); }).empty()) << "inputs have bands 0..3";
}

struct RouteCase {
  int channel;
  int code;
  int raw;
  std::set<ParamAddress> written;
};

TEST_F(ChannelEditorFrameTest, PanelEditsReachTheirAddresses) {
  const RouteCase cases[] = {
      {0, kDelay, 250, {63}},         {0, kHpfFrequency, 0x80C5, {70}}, {2, kHpfType, 22, {155}},
      {9, kEqOn, 0, {498}},           {10, kMainSend, 1000, {1119, 1120}}, {11, kAux1Send, 0x8514, {1150}},
      {16, kBandGain, 470, {784}},    {12, kDelay, 500, {973}},          {12, kNoiseGate, 250, {1041}},
      {10, kDelay, 250, {}},          {0, kBandFrequency + 5, 1000, {}},
      {14, output_code::kFeedbackSuppressor, 3, {638}}, {13, output_code::kDelay, 1000, {565}},
  };
  for (const RouteCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "channel " << c.channel << " code " << c.code);
    frame_.SelectChannel(c.channel);
    FakeEditorPanel& panel = Panel(*PanelKindOf(c.channel));
    EXPECT_EQ(Written([&] { panel.Edit(c.code, c.raw); }), c.written);
  }
  EXPECT_TRUE(Written([&] { PostWindowMessage(&frame_, kControlEdited, 19, kDelay); }).empty());
}

TEST_F(ChannelEditorFrameTest, EffectProgramsAreStoredDirectlyAndFactoryOnesAreNotSaved) {
  frame_.SelectChannel(11);
  FakeEditorPanel& panel = Panel(PanelKind::EffectReturn);
  panel.Edit(kEffectProgram, 19);
  test::DeliverPosted();
  EXPECT_EQ(params_.Value(address::kFx2Program), 19);
  EXPECT_FALSE(params_[address::kFx2Program].Dirty());
  EXPECT_TRUE(jobs_.Take(static_cast<int>(LinkJob::RecallFxPreset2)));
  panel.Edit(kStoreEffectProgram, 0);
  test::DeliverPosted();
  EXPECT_TRUE(jobs_.Take(static_cast<int>(LinkJob::StoreFxPreset2)));

  frame_.SelectChannel(10);
  Panel(PanelKind::EffectReturn).values[kEffectProgram] = 16;
  QString refusal;
  test::AnswerNextMessageBox([&](QMessageBox& box) {
    refusal = box.text();
    box.accept();
  });
  Panel(PanelKind::EffectReturn).Edit(kStoreEffectProgram, 0);
  ASSERT_TRUE(test::PumpUntil([&] { return !refusal.isEmpty(); }));
  EXPECT_EQ(refusal, "System mode cannot be saved!");
  EXPECT_EQ(params_.Value(address::kFx1Program), 1);
  EXPECT_FALSE(jobs_.Requested(static_cast<int>(LinkJob::StoreFxPreset1)));
}

TEST_F(ChannelEditorFrameTest, CopyOffersTheOtherChannelsAndWritesOnlyWhatDiffers) {
  (void)SetCurrentLanguage(LanguageIndex::English);
  frame_.SelectChannel(2);
  const std::unique_ptr<QMenu> menu = frame_.BuildCopyMenu();
  ASSERT_EQ(menu->actions().size(), 8);
  EXPECT_EQ(menu->actions()[0]->text(), "CopyToCh:1");
  for (int k = 0; k < 8; ++k) EXPECT_EQ(menu->actions()[k]->isEnabled(), k != 2) << k;
  ParamSet(params_, kCh3 + 4, 1000);
  EXPECT_EQ(Written([&] { frame_.CopyToChannel(ChannelEditorFrame::kFirstCopyCommand + 6); }), (std::set<ParamAddress>{308}));
  EXPECT_TRUE(Written([&] { frame_.CopyToChannel(ChannelEditorFrame::kFirstCopyCommand + 2); }).empty());
}

// A copy that would switch 48V on asks once, as the 48V button does; No copies all the rest.
TEST_F(ChannelEditorFrameTest, CopySwitchingPhantomPowerOnAsksFirst) {
  (void)SetCurrentLanguage(LanguageIndex::English);
  const ParamAddress ch7 = InputBlockBase(6);
  frame_.SelectChannel(2);
  ParamSet(params_, kCh3, kPhantomPowerBit | kChannelOnBit);  // the switches share a word
  ParamSet(params_, ch7, 0);
  int asked = 0;
  QString answerText;
  QTimer user;  // picks "CopyToCh:7" in the menu, then answers the question
  QObject::connect(&user, &QTimer::timeout, [&] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions()[6]).center());
    } else if (QMessageBox* box = test::OpenMessageBox()) {
      ++asked;
      EXPECT_EQ(box->text(), "Operating 48V");
      test::PressButton(*box, answerText);
    }
  });
  user.start(5);
  for (const char* answer : {"No", "Yes"}) {
    SCOPED_TRACE(answer);
    answerText = answer;
    ParamSet(params_, kCh3 + 4, params_.Value(ch7 + 4) + 10);  // and a fader that differs
    const std::set<ParamAddress> written = Written([&] { Click(frame_.button(ChannelEditorFrame::kCopy)); });
    EXPECT_TRUE(written.contains(ch7 + 4));
    EXPECT_EQ((params_.Value(ch7) & kPhantomPowerBit) != 0, answerText == "Yes");
    EXPECT_NE(params_.Value(ch7) & kChannelOnBit, 0);
  }
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(Written([&] { Click(frame_.button(ChannelEditorFrame::kCopy)); }), std::set<ParamAddress>{});
  EXPECT_EQ(asked, 2) << "48V already on at the target: nothing to ask";
}

TEST_F(ChannelEditorFrameTest, SwitchingPhantomPowerOnAsksAndOffDoesNot) {
  frame_.SelectChannel(0);
  SkinnedButton& phantom = frame_.button(ChannelEditorFrame::kPhantom);
  int asked = 0;
  QTimer answer;
  QString answerText = "No";
  QObject::connect(&answer, &QTimer::timeout, [&] {
    if (QMessageBox* box = test::OpenMessageBox()) {
      ++asked;
      EXPECT_EQ(box->text(), "Operating 48V");
      EXPECT_EQ(phantom.state(), 1) << "shown off while the user is asked";
      test::PressButton(*box, answerText);
    }
  });
  answer.start(5);
  EXPECT_TRUE(Written([&] { Click(phantom); }).empty());
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(phantom.state(), 1) << "not confirmed: back to unlit";
  answerText = "Yes";
  EXPECT_EQ(Written([&] { Click(phantom); }), (std::set<ParamAddress>{kCh1}));
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(params_.Value(kCh1) & 1, 1);
  EXPECT_EQ(Written([&] { Click(phantom); }), (std::set<ParamAddress>{kCh1}));
  EXPECT_EQ(asked, 2) << "switching off asks nothing";
  EXPECT_EQ(params_.Value(kCh1) & 1, 0);
}

TEST_F(ChannelEditorFrameTest, HeaderSwitchesWriteTheirWords) {
  frame_.SelectChannel(15);  // AUX3
  params_[address::kPflBus].Store(0x0101);
  Click(frame_.button(ChannelEditorFrame::kOutputPfl));
  EXPECT_EQ(params_.Value(address::kPflBus), 0x0105) << "bit 0x04 set, the others kept";

  (void)SetCurrentLanguage(LanguageIndex::English);
  frame_.SelectChannel(4);
  frame_.balance().SetValue(40);
  frame_.fader(0).SetPosition(180);
  EXPECT_EQ(Written([&] {
              SendWindowMessage(&frame_, 6024, 0, 40);
              SendWindowMessage(&frame_, kFaderMoved, 0, 180);
            }),
            (std::set<ParamAddress>{InputBlockBase(4) + 3, InputBlockBase(4) + 4}));
  EXPECT_EQ(params_.Value(InputBlockBase(4) + 4), 1200);
  EXPECT_EQ(frame_.balance().captionText(), "Balance:L 60%");
  EXPECT_EQ(frame_.faderCaption(0).text(), "0.0dB");

  frame_.SelectChannel(10);  // Fx1
  Click(frame_.button(ChannelEditorFrame::kInputMute));
  EXPECT_EQ(params_.Value(1111), 0);
  Click(frame_.button(ChannelEditorFrame::kInputMute));
  EXPECT_EQ(params_.Value(1111), 1);
  params_[1111].Store(0);
  frame_.SelectChannel(10);
  EXPECT_EQ(frame_.button(ChannelEditorFrame::kInputMute).state(), 2) << "0 read back shows lit";
  EXPECT_EQ(params_.Value(46 + 3), 100) << "Fx1 has no balance";
}

TEST_F(ChannelEditorFrameTest, ConsoleChangesShowWhileOpen) {
  frame_.SelectChannel(0);
  FakeEditorPanel& panel = Panel(PanelKind::Channel);
  params_[kCh1 + 29].Store(600);  // band 1 gain
  frame_.ValueArrived(kCh1 + 29);
  EXPECT_EQ(panel.values[kBandGain], 600);
  EXPECT_EQ(frame_.curve().pointGain[2], 100);
  params_[kCh1].Store(4);  // channel off
  frame_.ValueArrived(kCh1);
  EXPECT_EQ(frame_.button(ChannelEditorFrame::kInputMute).state(), 2);
  const int resets = panel.resets;
  frame_.ValueArrived(address::kChannelSelect);
  EXPECT_EQ(panel.resets, resets + 1) << "1184 reloads the channel";
  frame_.hide();
  params_[kCh1 + 29].Store(400);
  frame_.ValueArrived(kCh1 + 29);
  EXPECT_EQ(panel.values[kBandGain], 600) << "hidden: loaded when opened again";
}

/// Pixels of `picture` in `area` brighter than `level` in every channel.
int PixelsLighterInEveryChannel(const QImage& picture, const QRect& area, int level) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor c = picture.pixelColor(x, y);
      count += c.red() > level && c.green() > level && c.blue() > level ? 1 : 0;
    }
  }
  return count;
}

TEST_F(ChannelEditorFrameTest, EveryChannelNameFitsItsSelector) {
  for (const LanguageIndex language :
       {LanguageIndex::English, LanguageIndex::SimplifiedChinese, LanguageIndex::TraditionalChinese}) {
    (void)SetCurrentLanguage(language);
    PostWindowMessage(&frame_, kRefreshTexts, 0, 0);
    test::DeliverPosted();
    for (const int side : {0, 1}) {
      const SkinnedComboBox& selector = frame_.selector(side);
      const QFontMetrics metrics(selector.displayFont());
      for (int item = 0; item < selector.count(); ++item) {
        EXPECT_LE(metrics.horizontalAdvance(selector.itemText(item)), selector.textRect().width())
            << selector.itemText(item).toStdString();
      }
    }
  }
}

TEST_F(ChannelEditorFrameTest, PictureInEnglishAndTraditionalChinese) {
  for (const auto& [language, name] : {std::pair{LanguageIndex::English, "editor_frame_ch1_english"},
                                       std::pair{LanguageIndex::TraditionalChinese, "editor_frame_ch1_zh_tw"}}) {
    (void)SetCurrentLanguage(language);
    PostWindowMessage(&frame_, kRefreshTexts, 0, 0);
    test::DeliverPosted();
    frame_.SelectChannel(0);
    Panel(PanelKind::Channel).hide();  // the fake panel draws nothing: show the frame's panel well
    frame_.update();
    const QImage picture = test::Picture(frame_);
    (void)test::SaveScreenshot(frame_, name);
    EXPECT_GT(PixelsLighterInEveryChannel(picture, QRect(450, 278, 190, 26), 200), 30) << "the title";
    EXPECT_GT(PixelsLighterInEveryChannel(picture, QRect(22, 305, 58, 26), 200), 10) << "ENTER's caption";
    EXPECT_EQ(PixelsLighterInEveryChannel(picture, QRect(110, 356, 870, 280), 90), 0) << "the empty panel well stays dark";
    const QColor curveFloor = picture.pixelColor(40, 250);
    EXPECT_LT(curveFloor.lightness(), 60) << "the curve's plot";
    EXPECT_GT(PixelsLighterInEveryChannel(picture, QRect(20, 20, 1100, 235), 120), 200) << "curve and grid are drawn";
  }
  EXPECT_EQ(frame_.selector(1).itemText(0), QString::fromUtf8("主輸出"));
}

}  // namespace
}  // namespace rmt4::ui
