#include "ui/editors/input_editor.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include "i18n/language_guard.h"
#include "recording_host.h"
#include "screenshot.h"
#include "ui/controls/band_panel.h"
#include "ui/controls/skinned_button.h"
#include "ui/controls/skinned_combo_box.h"
#include "ui/controls/skinned_label.h"
#include "ui/controls/skinned_slider.h"
#include "ui/editors/editor_content.h"
#include "ui/platform/window_message.h"
#include "user_input.h"

namespace rmt4::ui {
namespace {

using test::RecordedMessage;
using test::RecordingHost;

constexpr int kChannel = 3;

/// The editor for CH4 inside a host that records what it posts.
struct EditorFixture {
  explicit EditorFixture(LanguageIndex language = LanguageIndex::English) {
    EXPECT_TRUE(SetCurrentLanguage(language));
    editor = new InputEditor(&host);
    editor->SetChannel(kChannel);
    test::DeliverPosted();
    host.Forget();
  }
  /// The editor codes the host was told about since the last call.
  std::vector<std::intptr_t> Reported() {
    test::DeliverPosted();
    std::vector<std::intptr_t> codes;
    for (const RecordedMessage& m : host.Messages()) {
      EXPECT_EQ(m.number, kControlEdited);
      EXPECT_EQ(m.wParam, kChannel);
      codes.push_back(m.lParam);
    }
    host.Forget();
    return codes;
  }
  QString TextOf(int slider) {
    if (slider == 3 || slider == 4) return editor->label(slider).text();  // the filter read-outs
    return editor->slider(slider).captionText();
  }

  LanguageGuard guard;
  RecordingHost host{QSize(900, 300), Qt::darkGray};
  InputEditor* editor = nullptr;
};

struct SliderCase {
  int slider;
  int value;
  int code;
  int raw;
  const char* text;
};

// Each value is reached with an arrow key from its neighbour, as a user would.
TEST(InputEditorSliders, ArrowKeysWriteTheRawValueAndShowItsText) {
  EditorFixture f;
  const SliderCase cases[] = {
      {3, 0, 49, 0x8000, "HPF: OFF"},          {3, 1, 49, 0x80C5, "HPF: 19.7Hz"},
      {3, 86, 49, 101, "HPF:  101Hz"},         {3, 362, 49, 20600, "HPF: 20600Hz"},
      {4, 205, 52, 1000, "LPF: 1000Hz"},       {1, 48, 59, 48, "GAIN: 0.0dB"},
      {1, 0, 59, 0, "GAIN: -32.0dB"},          {1, 63, 59, 63, "GAIN: 10.0dB"},
      {0, 25, 58, 250, "Delay:   2.5ms"},      {2, 120, 60, 0, "Noise Gate:     0db"},
      {2, 0, 60, 120, "Noise Gate:   -120db"}, {16, 40, 73, 1000, "Ratio:   100.0"},
      {13, 0, 70, 0, "Threshold:   -50dBu"},   {13, 56, 70, 560, "Threshold:     6dBu"},
      {14, 30, 71, 300, "Attack:    30ms"},    {5, 0, 62, 0, "Efx1:- \u221E"},
      {6, 180, 63, 1200, "Efx2:0.0dB"},        {9, 180, 66, 0x84B0, "AUX3:0.0dB"},
  };
  for (const SliderCase& c : cases) {
    SCOPED_TRACE(c.text);
    SkinnedSlider& slider = f.editor->slider(c.slider);
    const bool fromBelow = c.value > slider.minValue();
    slider.SetValue(fromBelow ? c.value - 1 : c.value + 1);
    QTest::keyClick(&slider, fromBelow ? Qt::Key_Right : Qt::Key_Left);
    EXPECT_EQ(f.Reported(), std::vector<std::intptr_t>{c.code});
    EXPECT_EQ(f.editor->ReadControl(c.code), c.raw);
    EXPECT_EQ(f.TextOf(c.slider), QString::fromUtf8(c.text));
  }
}

struct ConsoleCase {
  int code;
  int raw;
  int slider;
  double position;
  int button;  // -1: none
  bool pressed;
};

TEST(InputEditorConsoleValues, PutSlidersAndButtonsWithoutReporting) {
  EditorFixture f;
  const ConsoleCase cases[] = {
      {49, 0x8000, 3, 0, -1, false},  {49, 0x83E0, 3, 86, -1, false}, {52, 0x80C5, 4, 1, -1, false},
      {64, 0x8514, 7, 280, 2, false}, {65, 1000, 8, 80, 3, true},     {62, 1001, 5, 81, -1, false},
      {73, 20, 16, 5, 1, false},      {73, 0x83E8, 16, 40, 1, true},  {58, 255, 0, 25.5, -1, false},
      {60, 30, 2, 90, -1, false},     {71, 455, 14, 45.5, -1, false},
  };
  for (const ConsoleCase& c : cases) {
    SCOPED_TRACE(c.code);
    f.editor->ApplyValue(c.code, c.raw);
    EXPECT_DOUBLE_EQ(f.editor->slider(c.slider).GetValue(), c.position);
    if (c.button >= 0) {
      EXPECT_EQ(f.editor->button(c.button).state(), c.pressed ? 2 : 1);
    }
    EXPECT_EQ(f.editor->ReadControl(c.code), c.raw == 0x83E0 ? 101 : c.raw == 1001 ? 1002 : c.raw);
  }
  EXPECT_EQ(f.editor->slider(7).captionText(), "AUX1:10.0dB");
  EXPECT_EQ(f.editor->button(2).text(), "Pre");
  EXPECT_EQ(f.editor->button(1).text(), "OFF");
  // A level above the top leaves the slider; the switch still follows.
  f.editor->ApplyValue(64, 1301);
  EXPECT_EQ(f.editor->slider(7).GetValue(), 280);
  EXPECT_EQ(f.editor->button(2).state(), 2);
  EXPECT_TRUE(f.Reported().empty());
}

TEST(InputEditorButtons, ClicksToggleAndReportTheCombinedValue) {
  EditorFixture f;
  f.editor->ApplyValue(66, 0x84B0);  // AUX3 at 0 dB, pre-fader
  const struct {
    int button;
    int code;
    int raw;
    const char* caption;
  } cases[] = {
      {4, 66, 1200, "Post"}, {4, 66, 0x84B0, "Pre"}, {0, 48, 1, "OFF"}, {0, 48, 0, "ON"}, {1, 73, 0x800A, "OFF"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.caption);
    QTest::mouseClick(&f.editor->button(c.button), Qt::LeftButton);
    EXPECT_EQ(f.Reported(), std::vector<std::intptr_t>{c.code});
    EXPECT_EQ(f.editor->ReadControl(c.code), c.raw);
    EXPECT_EQ(f.editor->button(c.button).text(), c.caption);
  }
}

TEST(InputEditorFilterTypes, PickedItemsWriteTheirCodesAndConsoleCodesSelectItems) {
  EditorFixture f;
  SkinnedComboBox& highPass = f.editor->combo(0);
  SkinnedComboBox& lowPass = f.editor->combo(1);
  ASSERT_EQ(highPass.count(), 7);
  highPass.setCurrentIndex(3);
  QTest::keyClick(&highPass, Qt::Key_Down);  // "Bwoth-24dB"
  lowPass.setCurrentIndex(3);
  QTest::keyClick(&lowPass, Qt::Key_Down);
  EXPECT_EQ(f.Reported(), (std::vector<std::intptr_t>{50, 53}));
  EXPECT_EQ(f.editor->ReadControl(50), 20);
  EXPECT_EQ(f.editor->ReadControl(53), 21);
  const std::pair<int, int> consoleCodes[] = {{12, 5}, {3, 3}, {7, 0}, {24, 6}};
  for (const auto& [code, item] : consoleCodes) {
    f.editor->ApplyValue(50, code);
    EXPECT_EQ(highPass.shownIndex(), item) << code;
  }
}

QLineEdit& Field(BandPanel& band, int id) { return *band.findChild<QLineEdit*>(QString::number(id)); }

TEST(InputEditorBands, FieldsMapToCodesAndRawValues) {
  EditorFixture f;
  BandPanel& band1 = f.editor->band(1);
  band1.SetField(BandField::kFrequency, 99.5);
  EXPECT_EQ(f.editor->ReadControl(1), 33763);
  f.editor->ApplyValue(1, 1000);
  EXPECT_EQ(f.editor->ReadControl(1), 1000);
  f.editor->ApplyValue(1, 0x8000 + 992);  // 99.2 Hz: shown as the console holds it, between the grid's 99.0 and 101
  EXPECT_EQ(band1.fieldText(BandField::kFrequency), "99.2");
  f.editor->ApplyValue(17, 250);
  EXPECT_EQ(f.editor->ReadControl(17), 250);
  f.editor->ApplyValue(33, 350);
  EXPECT_EQ(f.editor->ReadControl(33), 350);
  f.editor->ApplyValue(33, 600);
  EXPECT_EQ(band1.gain(), 10.0);
  f.editor->ApplyValue(33, 650);
  EXPECT_EQ(band1.fieldText(BandField::kGain), "12.0");
  EXPECT_TRUE(f.Reported().empty());

  QTest::keyClick(&band1, Qt::Key_Up);  // the next edit of the band
  EXPECT_EQ(f.Reported(), std::vector<std::intptr_t>{33});
  EXPECT_EQ(f.editor->ReadControl(33), 620);
  QTest::keyClick(&band1, Qt::Key_Right);  // one step up from between two steps: the one above
  EXPECT_EQ(f.Reported(), std::vector<std::intptr_t>{1});
  EXPECT_EQ(f.editor->ReadControl(1), 101);
  QLineEdit& q = Field(f.editor->band(3), BandPanel::kFieldIds[2]);
  q.setText("2");
  QTest::keyClick(&q, Qt::Key_Return);
  EXPECT_EQ(f.Reported(), std::vector<std::intptr_t>{19});
  EXPECT_EQ(f.editor->ReadControl(19), 200);
}

TEST(InputEditorVariants, StereoAndDigitalHaveNoDelayOrGain) {
  EditorFixture f;
  const auto shown = [&](int slider) { return f.editor->controlShown(InputEditorControl::kSlider, slider); };
  EXPECT_TRUE(shown(0) && shown(1) && shown(2));
  for (const int channel : {8, 9}) {
    f.editor->SetChannel(channel);
    EXPECT_FALSE(shown(0) || shown(1));
    EXPECT_TRUE(shown(2));
    EXPECT_TRUE(f.editor->slider(0).isHidden());
  }
  f.editor->SetChannel(0);
  EXPECT_FALSE(f.editor->slider(1).isHidden());
  // The channel editor never shows the effect-return controls.
  EXPECT_TRUE(f.editor->slider(17).isHidden());
  EXPECT_TRUE(f.editor->combo(2).isHidden());
  EXPECT_TRUE(f.editor->button(8).isHidden());
  EXPECT_TRUE(f.editor->label(8).isHidden());
}

TEST(InputEditorScrolling, ArrowsJumpToEitherEndOfTheContent) {
  EditorFixture f;
  f.host.show();
  QScrollBar& bar = f.editor->scrollBar();
  EXPECT_EQ(bar.maximum(), 1445 - 882);
  test::ClickRightArrow(bar);
  EXPECT_EQ(bar.value(), bar.maximum());
  EXPECT_EQ(f.editor->content().x(), -(1445 - 882));
  QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(bar.width() / 8, bar.height() / 2));  // the track: one pixel
  EXPECT_EQ(bar.value(), bar.maximum() - 1);
  QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(4, bar.height() / 2));
  EXPECT_EQ(bar.value(), 0);
  EXPECT_EQ(f.editor->content().x(), 0);
}

TEST(InputEditorScrolling, ScaledLayoutKeepsTheWholeContentReachable) {
  EditorFixture f;
  f.editor->SetScale(1.5, 1.2);
  EXPECT_EQ(f.editor->size(), QSize(1323, 351));
  EXPECT_EQ(f.editor->content().size(), QSize(2167, 334));
  EXPECT_EQ(f.editor->scrollBar().maximum(), 2167 - 1323);
  EXPECT_EQ(f.editor->scrollBar().pageStep(), 1324);
  EXPECT_EQ(f.editor->slider(0).geometry(), QRect(15, 60, 321, 48));  // both sides follow sx
  EXPECT_EQ(f.editor->slider(3).geometry(), QRect(15, 244, 321, 24));
  EXPECT_EQ(f.editor->band(1).geometry(), QRect(630, 19, 147, 300));
  EXPECT_EQ(f.editor->button(0).geometry(), QRect(375, 19, 90, 36));
}

TEST(InputEditorRoles, EffectReturnsShowTheProgramPanelInsteadOfTheCompressor) {
  EditorFixture f;
  InputEditor returns(&f.host, InputEditorRole::kEffectReturns);
  for (const int slider : {0, 1, 2, 5, 6, 13, 14, 15, 16}) EXPECT_TRUE(returns.slider(slider).isHidden()) << slider;
  for (const int slider : {7, 17, 18, 19}) EXPECT_FALSE(returns.slider(slider).isHidden()) << slider;
  EXPECT_TRUE(returns.button(1).isHidden());
  EXPECT_TRUE(returns.label(7).isHidden());
  EXPECT_FALSE(returns.combo(2).isHidden());
  EXPECT_FALSE(returns.slider(17).geometry().intersects(returns.slider(7).geometry()));
  returns.ApplyValue(61, 1200);
  EXPECT_EQ(returns.ReadControl(61), 1200);
  EXPECT_EQ(returns.slider(17).captionText(), "Main:0.0dB");
}

TEST(InputEditorTexts, RefreshTextsFollowsTheLanguage) {
  EditorFixture f;
  EXPECT_EQ(f.editor->label(5).text(), "EQ");
  EXPECT_EQ(f.editor->label(3).text(), "HPF: OFF");
  ASSERT_TRUE(SetCurrentLanguage(LanguageIndex::TraditionalChinese));
  PostWindowMessage(f.editor, kRefreshTexts, 0, 0);
  test::DeliverPosted();
  EXPECT_EQ(f.editor->label(6).text(), QString::fromUtf8("音量派送"));
  EXPECT_EQ(f.editor->label(7).text(), QString::fromUtf8("壓限器"));
  EXPECT_EQ(f.editor->slider(7).captionText(), QString::fromUtf8("輔助1:- \u221E"));
  EXPECT_EQ(f.editor->button(2).text(), QString::fromUtf8("推子前"));
  EXPECT_EQ(f.editor->label(4).text(), QString::fromUtf8("低通: 20600Hz"));
}

TEST(InputEditorMessages, IndicesOutsideTheInventoryAreIgnored) {
  EditorFixture f;
  for (const int message : {int{kLabelOrSelector}, int{kButtonClicked}, int{kComboChanged}, BandPanel::kDefaultControlId}) {
    SendWindowMessage(f.editor, message, 99, 0);
    SendWindowMessage(f.editor, message, -1, 0);
  }
  SendWindowMessage(f.editor, BandPanel::kDefaultControlId, 0, BandPanel::kBandTypeChanged);
  EXPECT_TRUE(f.Reported().empty());
}

// The band panels sit in the editor's scrolling content, which is not where
// the top-level window is: they must copy the content's pixels under them.
TEST(InputEditorBands, HiddenPanelsShowTheContentBackgroundUnderThem) {
  EditorFixture f;
  f.editor->move(40, 7);
  f.host.show();
  BandPanel& band = f.editor->band(2);
  band.SetSkinVisible(false);
  const QImage picture = test::Picture(band);
  const QImage expected =
      f.editor->content().background().image().copy(band.geometry()).convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(picture, expected);
}

TEST(InputEditorLoad, LoadOrderEndsWithEqOnAfterTheSends) {
  EditorFixture f;
  const std::vector<int> order = f.editor->LoadOrder();
  const std::vector<int> expected{0,  16, 32, 1,  17, 33, 2,  18, 34, 3,  19, 35, 70, 71, 72, 73,
                                  58, 59, 60, 50, 53, 49, 52, 62, 63, 64, 65, 66, 67, 68, 69, 48};
  EXPECT_EQ(order, expected);
}

}  // namespace
}  // namespace rmt4::ui
