// The channel editor as a user of the demo meets it: ENTER on CH5's strip,
// then mouse, wheel and keys on the real input editor and its curve, each
// edit followed to the emulated console; the console's changes back into the
// editor; Copy from CH5 to CH7.
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

#include <gtest/gtest.h>

#include <set>

#include "connected_main_window.h"
#include "protocol/address_map.h"
#include "protocol/link_frame.h"
#include "ui/controls/band_panel.h"
#include "ui/controls/response_curve.h"
#include "ui/controls/skinned_combo_box.h"
#include "ui/controls/skinned_label.h"
#include "ui/controls/skinned_slider.h"
#include "values/editor_codes.h"

namespace rmt4::ui {
namespace {

constexpr int kCh5 = 4;
constexpr int kCh7 = 6;
constexpr int kWorkerCycleLimitMs = test::ConnectedMainWindow::kWriteLimitMs;
constexpr int kBand3Point = ResponseCurve::kFirstBandPoint + 2;

// Offsets in an input channel's block.
constexpr int kGateOffset = 1;
constexpr int kAux1Offset = 5;
constexpr int kRatioOffset = 18;
constexpr int kHpfTypeOffset = 23;
constexpr int kLpfFrequencyOffset = 26;
constexpr int kBand3FrequencyOffset = 28 + 8;
constexpr int kBand3GainOffset = 29 + 8;
constexpr int kBand3QOffset = 30 + 8;

ParamAddress Ch5(int offset) { return static_cast<ParamAddress>(InputBlockBase(kCh5) + offset); }

class EditorEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window_.WaitForCompleteRead()) << "no complete read";
    window_.OpenFromStrip(kCh5);
    ASSERT_TRUE(window_.frame().isVisible());
    ASSERT_EQ(editor().channel(), kCh5);
  }

  InputEditor& editor() { return window_.inputEditor(); }

  /// Waits until the console holds the editor's reading of `code` at `address`; true when it does in time.
  [[nodiscard]] bool ReachesConsole(int code, ParamAddress address) { return window_.ReachesConsole(editor(), code, address); }

  /// Whether `control` lies inside the editor's visible view, as a user must see it to touch it.
  [[nodiscard]] bool InView(const QWidget& control) {
    const QRect at(control.mapTo(&editor(), QPoint(0, 0)), control.size());
    return editor().rect().contains(at);
  }

  test::ConnectedMainWindow window_;
};

TEST_F(EditorEndToEnd, EverySectionEditedByHandReachesTheConsole) {
  // EQ band 3, dragged up and right on the curve: frequency, Q and gain go out together.
  ResponseCurve& curve = window_.frame().curve();
  const CurveGeometry& plot = curve.geometry();
  const QPoint marker(plot.plotLeft + curve.pointX[kBand3Point], plot.zeroRow + curve.pointY[kBand3Point]);
  const int frequencyBefore = editor().ReadControl(editor_code::kBandFrequency + 2);
  const int gainBefore = editor().ReadControl(editor_code::kBandGain + 2);
  QTest::mousePress(&curve, Qt::LeftButton, {}, marker);
  QTest::mouseMove(&curve, marker + QPoint(60, -25));
  QTest::mouseRelease(&curve, Qt::LeftButton, {}, marker + QPoint(60, -25));
  QCoreApplication::sendPostedEvents();  // the frame relays the curve's edits
  EXPECT_NE(editor().ReadControl(editor_code::kBandFrequency + 2), frequencyBefore);
  EXPECT_NE(editor().ReadControl(editor_code::kBandGain + 2), gainBefore);
  EXPECT_TRUE(ReachesConsole(editor_code::kBandFrequency + 2, Ch5(kBand3FrequencyOffset)));
  EXPECT_TRUE(ReachesConsole(editor_code::kBandGain + 2, Ch5(kBand3GainOffset)));
  EXPECT_TRUE(ReachesConsole(editor_code::kBandQ + 2, Ch5(kBand3QOffset)));

  // The gate, with the wheel; the HPF type, with the Down key on its list.
  SkinnedSlider& gate = editor().slider(2);
  ASSERT_TRUE(InView(gate));
  const int gateBefore = editor().ReadControl(editor_code::kNoiseGate);
  test::Wheel(gate, 3);
  EXPECT_EQ(editor().ReadControl(editor_code::kNoiseGate), gateBefore - 3);
  EXPECT_TRUE(ReachesConsole(editor_code::kNoiseGate, Ch5(kGateOffset)));
  SkinnedComboBox& hpfType = editor().combo(0);
  const int typeBefore = editor().ReadControl(editor_code::kHpfType);
  QTest::keyClick(&hpfType, Qt::Key_Down);
  EXPECT_NE(editor().ReadControl(editor_code::kHpfType), typeBefore);
  EXPECT_TRUE(ReachesConsole(editor_code::kHpfType, Ch5(kHpfTypeOffset)));

  // The sends and the compressor lie beyond the view: the scroll bar's right arrow brings them in.
  QScrollBar& bar = editor().scrollBar();
  test::ClickRightArrow(bar);
  SkinnedSlider& aux1 = editor().slider(7);
  SkinnedButton& prePost = editor().button(2);
  SkinnedSlider& ratio = editor().slider(16);
  ASSERT_TRUE(InView(aux1) && InView(prePost) && InView(ratio));
  aux1.setFocus();
  for (int step = 0; step < 20; ++step) QTest::keyClick(&aux1, Qt::Key_Right);
  EXPECT_TRUE(ReachesConsole(editor_code::kAux1Send, Ch5(kAux1Offset)));
  const int sendBefore = editor().ReadControl(editor_code::kAux1Send);
  test::Click(prePost);
  EXPECT_EQ(editor().ReadControl(editor_code::kAux1Send), sendBefore ^ 0x8000);  // only the pre-fader flag changed
  EXPECT_TRUE(ReachesConsole(editor_code::kAux1Send, Ch5(kAux1Offset)));
  const int ratioBefore = editor().ReadControl(editor_code::kRatio);
  QTest::keyClick(&ratio, Qt::Key_Right);
  EXPECT_GT(editor().ReadControl(editor_code::kRatio) & 0x7FFF, ratioBefore & 0x7FFF);
  EXPECT_TRUE(ReachesConsole(editor_code::kRatio, Ch5(kRatioOffset)));
}

struct ControlCase {
  int index;  // slider K<index> or button B<index>
  int code;
  int offset;  // in the channel's block
};

// Every slider and switch of the input editor, a key or a click each, to its address.
TEST_F(EditorEndToEnd, EverySliderAndSwitchReachesItsAddress) {
  const ControlCase sliders[] = {{0, 58, 17}, {1, 59, 2},  {2, 60, 1},  {3, 49, 24},  {4, 52, 26},  {5, 62, 15},
                                 {6, 63, 16}, {7, 64, 5},  {8, 65, 6},  {9, 66, 7},   {10, 67, 8},  {11, 68, 9},
                                 {12, 69, 10}, {13, 70, 21}, {14, 71, 19}, {15, 72, 20}, {16, 73, 18}};
  for (const ControlCase& c : sliders) {
    SCOPED_TRACE(c.code);
    SkinnedSlider& slider = editor().slider(c.index);
    const int before = editor().ReadControl(c.code);
    QTest::keyClick(&slider, slider.GetValue() < slider.maxValue() ? Qt::Key_Right : Qt::Key_Left);
    EXPECT_NE(editor().ReadControl(c.code), before);
    EXPECT_TRUE(ReachesConsole(c.code, Ch5(c.offset)));
  }
  const ControlCase buttons[] = {{0, 48, 22}, {1, 73, 18}, {2, 64, 5}, {3, 65, 6},
                                 {4, 66, 7},  {5, 67, 8},  {6, 68, 9}, {7, 69, 10}};
  for (const ControlCase& c : buttons) {
    SCOPED_TRACE(c.code);
    SkinnedButton& button = editor().button(c.index);
    const int before = editor().ReadControl(c.code);
    test::Click(button);
    EXPECT_NE(editor().ReadControl(c.code), before);
    EXPECT_TRUE(ReachesConsole(c.code, Ch5(c.offset)));
  }
}

// A band's value typed into its panel reaches the console and moves the curve point.
TEST_F(EditorEndToEnd, TypedBandFrequencyReachesTheConsoleAndTheCurve) {
  auto& frequency = *editor().band(2).findChild<QLineEdit*>(QString::number(BandPanel::kFieldIds[1]));
  test::TypeOver(frequency, QStringLiteral("2000"));
  QTest::keyClick(&frequency, Qt::Key_Return);
  EXPECT_TRUE(ReachesConsole(editor_code::kBandFrequency + 2, Ch5(kBand3FrequencyOffset)));
  const int written = window_.console().Value(Ch5(kBand3FrequencyOffset));
  EXPECT_NEAR(written, 2000, 40);  // the band keeps to its frequency steps
  EXPECT_DOUBLE_EQ(window_.frame().curve().pointFrequency[kBand3Point], written);
}

// The console moves values of the open channel while the user types a band
// frequency: the focus stays in the field, the half-typed text stays and
// nothing is written until the user's own Enter.
TEST_F(EditorEndToEnd, ConsoleValuesLeaveTheFocusAndTheTextBeingTypedAlone) {
  EXPECT_FALSE(editor().isAncestorOf(window_.window().focusWidget())) << "opening a channel focuses no control";
  auto& frequency = *editor().band(2).findChild<QLineEdit*>(QString::number(BandPanel::kFieldIds[1]));
  test::TypeOver(frequency, QStringLiteral("10"));  // of a "1000" being typed
  ASSERT_EQ(window_.window().focusWidget(), &frequency);

  const std::uint16_t aux = window_.console().Value(Ch5(kAux1Offset)) == 1200 ? 1000 : 1200;
  window_.transport().ChangeOnConsole(Ch5(kAux1Offset), aux);
  window_.transport().ChangeOnConsole(Ch5(kBand3FrequencyOffset), 500);
  ASSERT_TRUE(test::PumpUntil([&] {
    return window_.params().Value(Ch5(kAux1Offset)) == aux && window_.params().Value(Ch5(kBand3FrequencyOffset)) == 500;
  }, kWorkerCycleLimitMs));
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(window_.window().focusWidget(), &frequency);
  EXPECT_EQ(frequency.text(), "10");
  QTest::qWait(300);  // a few worker cycles: nothing of the typed text goes out
  EXPECT_EQ(window_.console().Value(Ch5(kBand3FrequencyOffset)), 500);

  QTest::keyClicks(&frequency, QStringLiteral("00"));
  QTest::keyClick(&frequency, Qt::Key_Return);
  EXPECT_TRUE(test::PumpUntil([&] { return window_.console().Value(Ch5(kBand3FrequencyOffset)) == 1000; },
                              kWorkerCycleLimitMs));
}

// A console LPF of OFF is shown as such, and the slider's range does not turn it into a frequency.
TEST_F(EditorEndToEnd, ConsoleLpfOffShowsOffAndWritesNothing) {
  window_.transport().ChangeOnConsole(Ch5(kLpfFrequencyOffset), 0x8000);
  EXPECT_TRUE(test::PumpUntil([&] { return editor().label(4).text() == "LPF: OFF"; }, kWorkerCycleLimitMs))
      << editor().label(4).text().toStdString();
  EXPECT_EQ(editor().ReadControl(editor_code::kLpfFrequency), 0x8000);
  QTest::qWait(300);  // a few worker cycles
  EXPECT_EQ(window_.console().Value(Ch5(kLpfFrequencyOffset)), 0x8000);
}

TEST_F(EditorEndToEnd, ConsoleChangeOfBandThreeGainMovesTheCurvePointAndTheBandPanel) {
  ResponseCurve& curve = window_.frame().curve();
  const int rowBefore = curve.pointY[kBand3Point];
  window_.transport().ChangeOnConsole(Ch5(kBand3GainOffset), 620);  // +12.0 dB
  EXPECT_TRUE(test::PumpUntil([&] { return curve.pointGain[kBand3Point] == 120; }, kWorkerCycleLimitMs));
  EXPECT_LT(curve.pointY[kBand3Point], rowBefore);  // higher up
  EXPECT_DOUBLE_EQ(editor().band(2).gain(), 12.0);
  EXPECT_EQ(editor().ReadControl(editor_code::kBandGain + 2), 620);
}

TEST_F(EditorEndToEnd, CopyToCh7WritesOnlyTheAddressesThatDiffer) {
  // Make CH5 differ from CH7 in a few places, by hand.
  test::Wheel(editor().slider(2), 2);
  QTest::keyClick(&editor().combo(0), Qt::Key_Down);
  ASSERT_TRUE(ReachesConsole(editor_code::kHpfType, Ch5(kHpfTypeOffset)));
  std::set<ParamAddress> differing;
  for (int offset = 0; offset < kInputBlockSize; ++offset) {
    const auto target = static_cast<ParamAddress>(InputBlockBase(kCh7) + offset);
    if (window_.console().Value(Ch5(offset)) != window_.console().Value(target)) differing.insert(target);
  }
  ASSERT_FALSE(differing.empty());
  const std::size_t writesBefore = window_.transport().Payloads(Command::WriteParams).size();

  // The Copy button's menu, entry "CopyToCh:7", picked with the mouse.
  QTimer::singleShot(50, [] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    for (QAction* entry : menu->actions()) {
      if (entry->text().endsWith(QStringLiteral(":7"))) {
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
      }
    }
  });
  SkinnedButton& copy = window_.frame().button(ChannelEditorFrame::kCopy);
  test::Click(copy);

  EXPECT_TRUE(test::PumpUntil([&] {
    for (int offset = 0; offset < kInputBlockSize; ++offset) {
      const auto target = static_cast<ParamAddress>(InputBlockBase(kCh7) + offset);
      if (window_.console().Value(Ch5(offset)) != window_.console().Value(target)) return false;
    }
    return true;
  }, kWorkerCycleLimitMs));
  std::set<ParamAddress> written;
  const auto payloads = window_.transport().Payloads(Command::WriteParams);
  for (std::size_t k = writesBefore; k < payloads.size(); ++k) {
    ForEachParamEntry(payloads[k], [&](const ParamEntryData& entry) {
      const int offset = entry.address - InputBlockBase(kCh7);
      if (offset >= 0 && offset < kInputBlockSize) written.insert(entry.address);
    });
  }
  EXPECT_EQ(written, differing);
}

}  // namespace
}  // namespace rmt4::ui
