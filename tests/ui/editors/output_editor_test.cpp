// The output editors (MAIN and the AUX buses) in the channel editor frame:
// user edits reach their console words, every code survives the trip
// raw → control → raw → table, loading and live values, and their pictures.
#include "pictures.h"
#include "ui/editors/output_editor.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

#include "i18n/language.h"
#include "recording_host.h"
#include "screenshot.h"
#include "ui/controls/band_panel.h"
#include "ui/controls/skinned_button.h"
#include "ui/controls/skinned_combo_box.h"
#include "ui/controls/skinned_label.h"
#include "ui/controls/skinned_slider.h"
#include "ui/editors/channel_editor_frame.h"
#include "ui/editors/output_editor_inventory.h"
#include "ui/platform/window_message.h"
#include "user_input.h"
#include "values/editor_addresses.h"
#include "values/editor_codes.h"

namespace rmt4::ui {
namespace {

using namespace output_editor;

constexpr int kAux1 = 13;
constexpr int kAux2 = 14;
constexpr int kAux3 = 15;
constexpr int kAux4 = 16;
constexpr int kAux6 = 18;

class OutputEditorTest : public ::testing::Test {
 protected:
  OutputEditorTest() {
    (void)SetCurrentLanguage(LanguageIndex::English);
    frame_.show();
    test::DeliverPosted();
  }
  ~OutputEditorTest() override { (void)SetCurrentLanguage(LanguageIndex::English); }

  OutputEditor& Open(int channel) {
    frame_.SelectChannel(channel);
    test::DeliverPosted();
    return dynamic_cast<OutputEditor&>(*frame_.panel(*PanelKindOf(channel)));
  }

  ParamTable params_;
  LinkJobs jobs_;
  ChannelEditorFrame frame_{nullptr, params_, jobs_};
};

/// Moves a slider to `value` with an arrow key from its neighbour, as a user would.
void MoveSlider(SkinnedSlider& slider, int value) {
  const bool fromBelow = value > slider.minValue();
  slider.SetValue(fromBelow ? value - 1 : value + 1);
  QTest::keyClick(&slider, fromBelow ? Qt::Key_Right : Qt::Key_Left);
}

/// Picks filter type `item` of a type box with the keyboard.
void PickType(SkinnedComboBox& box, int item) {
  box.setCurrentIndex(item - 1);
  QTest::keyClick(&box, Qt::Key_Down);
}

/// Types `text` into a band panel's field (0 gain, 1 frequency, 2 Q).
void TypeIntoBand(BandPanel& band, int field, const char* text) {
  auto* edit = band.findChild<QLineEdit*>(QString::number(BandPanel::kFieldIds[static_cast<std::size_t>(field)]));
  ASSERT_NE(edit, nullptr);
  test::TypeOver(*edit, text);
  QTest::keyClick(edit, Qt::Key_Return);
}

struct EditCase {
  const char* what;
  int channel;
  std::function<void(OutputEditor&)> edit;
  ParamAddress address;
  std::uint16_t written;
};

TEST_F(OutputEditorTest, UserEditsWriteTheirConsoleWords) {
  const EditCase cases[] = {
      {"AUX4 band 1 frequency 1000 Hz", kAux4, [](OutputEditor& e) { TypeIntoBand(e.band(0), 1, "1000"); }, 783, 1000},
      {"AUX4 band 1 gain -3.0 dB", kAux4, [](OutputEditor& e) { TypeIntoBand(e.band(0), 0, "-3.0"); }, 784, 470},
      {"AUX4 band 1 Q 2.50", kAux4, [](OutputEditor& e) { TypeIntoBand(e.band(0), 2, "2.50"); }, 785, 250},
      {"AUX6 band 13 frequency", kAux6, [](OutputEditor& e) { TypeIntoBand(e.band(12), 1, "1000"); }, 967, 1000},
      {"MAIN Left-Delay 50", kMainChannel, [](OutputEditor& e) { MoveSlider(e.slider(kLeftDelaySlider), 50); }, 973,
       500},
      {"AUX2 FEBK 0", kAux2, [](OutputEditor& e) { MoveSlider(e.slider(kFeedbackSuppressorSlider), 0); }, 638, 0},
      {"AUX2 FEBK 3", kAux2, [](OutputEditor& e) { MoveSlider(e.slider(kFeedbackSuppressorSlider), 3); }, 638, 3},
      {"MAIN compressor off, ratio 9", kMainChannel,
       [](OutputEditor& e) {
         QTest::mouseClick(&e.button(kCompressorButton), Qt::LeftButton);
         MoveSlider(e.slider(kRatioSlider), 9);
       },
       974, 0x8024},
      {"MAIN HPF Lnkwtz-24dB", kMainChannel, [](OutputEditor& e) { PickType(e.combo(kHighPassCombo), 6); }, 982, 24},
      {"AUX1 LPF Bessel-12dB", kAux1, [](OutputEditor& e) { PickType(e.combo(kLowPassCombo), 1); }, 576, 11},
  };
  params_[974].Store(20);  // MAIN's compressor on: the click switches it off
  for (const EditCase& c : cases) {
    SCOPED_TRACE(c.what);
    OutputEditor& editor = Open(c.channel);
    // A different value, not yet to be written, so the write is seen.
    params_[c.address].Store(static_cast<std::uint16_t>(c.written ^ 0x0101));
    params_[c.address].ClearDirty();
    c.edit(editor);
    test::DeliverPosted();
    EXPECT_EQ(params_.Value(c.address), c.written);
    EXPECT_TRUE(params_[c.address].Dirty());
  }
  OutputEditor& aux = Open(kAux2);
  EXPECT_EQ(aux.slider(kFeedbackSuppressorSlider).captionText(), "FEBK:FB3");
  MoveSlider(aux.slider(kFeedbackSuppressorSlider), 0);
  EXPECT_EQ(aux.slider(kFeedbackSuppressorSlider).captionText(), "FEBK:OFF");
  EXPECT_EQ(Open(kMainChannel).slider(kLeftDelaySlider).captionText(), "Left-Delay:   5.0ms");
  EXPECT_FALSE(jobs_.Requested(static_cast<int>(LinkJob::RecallFxPreset1)) ||
               jobs_.Requested(static_cast<int>(LinkJob::RecallFxPreset2)))
      << "an AUX bus's feedback suppressor is no effect program";
}

/// Raw words each output code takes, all shown exactly by its control.
std::vector<int> WordsOf(int code) {
  if (code < editor_code::kBandQ) return {0x80C5, 0x8000 + 803, 1000, 20600};
  if (code < editor_code::kBandGain) return {100, 250};
  if (code < editor_code::kEqOn) return {380, 470, 500, 620};
  switch (code) {
    case editor_code::kEqOn:
      return {0, 1};
    case editor_code::kHpfFrequency:
      return {0x8000, 0x80C5, 101, 20600};
    case editor_code::kLpfFrequency:
      return {0x80C5, 1000, 20600};
    case editor_code::kHpfType:
      return {0, 10, 22, 8, 20, 12, 24};
    case editor_code::kLpfType:
      return {0, 11, 23, 9, 21, 13, 25};
    case output_code::kThreshold:
      return {0, 255, 560};
    case output_code::kRatio:
      return {10, 36, 0x8024, 1000, 0x8000 | 1000};
    case output_code::kFeedbackSuppressor:
      return {0, 1, 3, 5};
    default:  // delays, attack, release
      return {0, 5, 500, code == output_code::kAttack || code == output_code::kRelease ? 1270 : 1000};
  }
}

TEST_F(OutputEditorTest, EveryCodeOfEveryBusRoundTripsThroughThePanelToItsAddress) {
  for (int channel = kMainChannel; channel <= kLastEditorChannel; ++channel) {
    OutputEditor& editor = Open(channel);
    for (int code : editor.LoadOrder()) {
      const EditorAddresses addresses = EditorCodeAddresses(channel, code);
      ASSERT_EQ(addresses.size(), 1U) << "channel " << channel << " code " << code;
      for (int raw : WordsOf(code)) {
        SCOPED_TRACE(::testing::Message() << "channel " << channel << " code " << code << " raw " << raw);
        editor.ApplyValue(code, raw);
        EXPECT_EQ(editor.ReadControl(code), raw);
        PostWindowMessage(&frame_, kControlEdited, channel, code);
        test::DeliverPosted();
        EXPECT_EQ(params_.Value(addresses.front()), raw);
      }
    }
  }
}

TEST_F(OutputEditorTest, OpeningABusLoadsItsValuesAndShowsItsVariant) {
  params_[973].Store(100);
  params_[1041].Store(250);
  params_[974].Store(0x8000 | 20);
  OutputEditor& main = Open(kMainChannel);
  EXPECT_EQ(main.slider(kLeftDelaySlider).captionText(), "Left-Delay:   1.0ms");
  EXPECT_EQ(main.slider(kRightDelaySlider).captionText(), "Right-Delay:   2.5ms");
  EXPECT_EQ(main.slider(kRatioSlider).GetValue(), 5);
  EXPECT_EQ(main.button(kCompressorButton).text(), "OFF");
  EXPECT_EQ(main.label(kCompTitle).text(), "COMP");
  const struct {
    int slider;
    bool onMain;
  } variants[] = {{kLeftDelaySlider, true}, {kDelaySlider, false}, {kRightDelaySlider, true},
                  {kFeedbackSuppressorSlider, false}, {kRatioSlider, true}};
  for (const auto& v : variants) {
    EXPECT_EQ(main.slider(v.slider).isVisible(), v.onMain) << v.slider;
  }

  params_[630 + 8].Store(3);   // AUX2 feedback suppressor
  params_[630 + 3].Store(455);  // AUX2 delay
  OutputEditor& aux = Open(kAux2);
  EXPECT_EQ(aux.channel(), kAux2);
  EXPECT_EQ(aux.slider(kFeedbackSuppressorSlider).captionText(), "FEBK:FB3");
  EXPECT_EQ(aux.slider(kDelaySlider).captionText(), "Delay:   4.5ms");
  for (const auto& v : variants) {
    EXPECT_EQ(aux.slider(v.slider).isVisible(), !v.onMain || v.slider == kRatioSlider) << v.slider;
  }
  EXPECT_EQ(aux.scrollBar().value(), 0) << "the view starts at the EQ";

  // While open, the console's changes show at once.
  params_[630 + 8].Store(5);
  frame_.ValueArrived(630 + 8);
  EXPECT_EQ(aux.slider(kFeedbackSuppressorSlider).GetValue(), 5);
  params_[630 + 11].Store(1);
  frame_.ValueArrived(630 + 11);
  EXPECT_EQ(aux.button(kEqOnButton).text(), "OFF");

  (void)SetCurrentLanguage(LanguageIndex::TraditionalChinese);
  aux.RefreshTexts();
  EXPECT_EQ(aux.slider(kFeedbackSuppressorSlider).captionText(), QString::fromUtf8("移頻:FB5"));
}

constexpr int kCaptionGrey = 120;

TEST_F(OutputEditorTest, PicturesOfMainAndAux3FromStartToCompressor) {
  params_[973].Store(120);
  params_[1036].Store(560);
  params_[698 + 8].Store(2);
  const struct {
    int channel;
    LanguageIndex language;
    const char* name;
  } shots[] = {{kMainChannel, LanguageIndex::English, "main_english"},
               {kAux3, LanguageIndex::English, "aux3_english"},
               {kMainChannel, LanguageIndex::TraditionalChinese, "main_zh_tw"},
               {kAux3, LanguageIndex::TraditionalChinese, "aux3_zh_tw"}};
  for (const auto& shot : shots) {
    SCOPED_TRACE(shot.name);
    (void)SetCurrentLanguage(shot.language);
    PostWindowMessage(&frame_, kRefreshTexts, 0, 0);
    OutputEditor& editor = Open(shot.channel);
    editor.RefreshTexts();
    const QImage start = test::Picture(frame_);
    (void)test::SaveScreenshot(frame_, QStringLiteral("output_editor_%1_start").arg(shot.name));
    const QPoint panel = editor.mapTo(&frame_, QPoint(0, 0));
    EXPECT_GT(test::BrightPixels(start, QRect(panel + QPoint(60, 10), QSize(110, 35))), 10) << "the EQ title";
    const QSize captionRow(190, 14);
    EXPECT_GT(test::BrightPixels(start, QRect(panel + QPoint(20, 98), captionRow), kCaptionGrey), 10) << "the first delay";
    EXPECT_GT(test::BrightPixels(start, QRect(panel + QPoint(20, 144), captionRow), kCaptionGrey), 10) << "the second row";
    EXPECT_EQ(start.pixel(panel + QPoint(315 + 35, 16 + 185)), qRgb(255, 255, 255)) << "band 1's gain field";

    QScrollBar& bar = editor.scrollBar();
    test::ClickRightArrow(bar);
    ASSERT_EQ(bar.value(), 1919 - 882);
    const QImage end = test::Picture(frame_);
    (void)test::SaveScreenshot(frame_, QStringLiteral("output_editor_%1_compressor").arg(shot.name));
    const QPoint shift(1919 - 882, 0);
    EXPECT_GT(test::BrightPixels(end, QRect(panel + QPoint(1740, 10) - shift, QSize(110, 35))), 10) << "COMP";
    EXPECT_GT(test::BrightPixels(end, QRect(panel + QPoint(1700, 98) - shift, captionRow), kCaptionGrey), 10)
        << "the threshold";
    EXPECT_GT(test::BrightPixels(end, QRect(panel + QPoint(1695, 50) - shift, QSize(60, 30))), 5) << "the switch caption";
  }
}

}  // namespace
}  // namespace rmt4::ui
