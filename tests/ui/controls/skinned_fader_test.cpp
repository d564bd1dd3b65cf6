#include "ui/controls/skinned_fader.h"

#include <QTest>

#include <gtest/gtest.h>

#include <vector>

#include "recording_host.h"
#include "screenshot.h"

namespace rmt4::ui {
namespace {

const QColor kFaderHost(38, 40, 44);

using test::RecordedMessage;
using test::Wheel;

/// A charcoal host for faders.
class FaderHost : public test::RecordingHost {
 public:
  FaderHost() : RecordingHost(QSize(420, 480), kFaderHost) { show(); }

  /// A fader set up the way the strips do: range 0..280, scale 1, ancestor level 1.
  SkinnedFader* AddFader(const QRect& geometry, int style = 0, int png = 141) {
    auto* fader = new SkinnedFader(this);
    fader->setGeometry(geometry);
    fader->SetFaderIndex(5);
    fader->SetAncestorLevel(1);
    EXPECT_TRUE(fader->SetSkin(style, &background, png));
    fader->SetMinValue(0);
    fader->SetMaxValue(280);
    fader->SetSetScale(1);
    fader->SetPosition(0);
    fader->show();
    return fader;
  }
};

/// Whether a press at `at` grabs the cap; the press is released again.
bool GrabsCap(SkinnedFader& fader, QPoint at) {
  QTest::mousePress(&fader, Qt::LeftButton, {}, at);
  const bool grabbed = fader.dragging();
  QTest::mouseRelease(&fader, Qt::LeftButton, {}, at);
  return grabbed;
}

// The strip fader: style 0 at 59 × 293, cap 22 × 36 centred at x 29; the
// cap centre runs from y 275 (position 0) to y 18 (position 280).
class StripFader : public ::testing::Test {
 protected:
  FaderHost host;
  SkinnedFader* fader = host.AddFader(QRect(11, 10, 59, 293));
};

TEST_F(StripFader, TheCapSitsWherePositionsMapOnTheSlot) {
  EXPECT_TRUE(GrabsCap(*fader, QPoint(29, 257)));  // position 0: cap rows 257..292
  EXPECT_FALSE(GrabsCap(*fader, QPoint(29, 256)));
  fader->SetPosition(280);  // rows 0..35
  EXPECT_TRUE(GrabsCap(*fader, QPoint(29, 35)));
  EXPECT_FALSE(GrabsCap(*fader, QPoint(29, 36)));
  fader->SetPosition(140);  // centre 146.5: rows 128..163, columns 18..39
  EXPECT_TRUE(GrabsCap(*fader, QPoint(29, 128)));
  EXPECT_FALSE(GrabsCap(*fader, QPoint(29, 127)));
  EXPECT_TRUE(GrabsCap(*fader, QPoint(29, 163)));
  EXPECT_FALSE(GrabsCap(*fader, QPoint(29, 164)));
  EXPECT_TRUE(GrabsCap(*fader, QPoint(18, 146)));
  EXPECT_FALSE(GrabsCap(*fader, QPoint(17, 146)));
  EXPECT_TRUE(GrabsCap(*fader, QPoint(39, 146)));
  EXPECT_FALSE(GrabsCap(*fader, QPoint(40, 146)));
}

TEST_F(StripFader, DraggingReportsPositionsClampedIntoTheRange) {
  QTest::mousePress(fader, Qt::LeftButton, {}, QPoint(29, 275));
  EXPECT_EQ(host.Messages(), (std::vector<RecordedMessage>{{kFaderMoved, 5, 0}}));
  QTest::mouseMove(fader, QPoint(29, 146));
  EXPECT_EQ(host.LastReported(), 140);
  EXPECT_EQ(fader->position(), 140);
  QTest::mouseMove(fader, QPoint(29, -50));  // above the top
  EXPECT_EQ(host.LastReported(), 280);
  EXPECT_EQ(fader->position(), 280);
  QTest::mouseMove(fader, QPoint(29, 400));
  EXPECT_EQ(host.LastReported(), 0);
  QTest::mouseMove(fader, QPoint(29, 18));
  host.Forget();
  QTest::mouseRelease(fader, Qt::LeftButton, {}, QPoint(29, 18));
  EXPECT_FALSE(fader->dragging());
  EXPECT_EQ(host.Messages(), (std::vector<RecordedMessage>{{kFaderMoved, 5, 280}}));
}

TEST_F(StripFader, ClicksBesideTheCapDoNothing) {
  fader->SetPosition(140);
  QTest::mouseClick(fader, Qt::LeftButton, {}, QPoint(29, 60));
  QTest::mouseClick(fader, Qt::LeftButton, {}, QPoint(5, 146));
  EXPECT_TRUE(host.Messages().empty());
  EXPECT_EQ(fader->position(), 140);
}

TEST_F(StripFader, KeysAndWheelStepAndReportClampedPositions) {
  fader->SetPosition(280);
  QTest::keyClick(fader, Qt::Key_Up);
  EXPECT_EQ(host.LastReported(), 280);
  EXPECT_EQ(fader->position(), 280);
  fader->SetPosition(0);
  QTest::keyClick(fader, Qt::Key_Down);
  EXPECT_EQ(host.LastReported(), 0);
  QTest::keyClick(fader, Qt::Key_Up);
  EXPECT_EQ(host.LastReported(), 1);
  Wheel(*fader, QPoint(29, 100), 120);
  EXPECT_EQ(host.LastReported(), 2);
  Wheel(*fader, QPoint(29, 100), -120);
  EXPECT_EQ(host.LastReported(), 1);
  EXPECT_EQ(host.Messages().size(), 5u);
  QTest::keyClick(fader, Qt::Key_Left);  // Left and Right step as Down and Up do
  EXPECT_EQ(host.LastReported(), 0);
  QTest::keyClick(fader, Qt::Key_Right);
  EXPECT_EQ(host.LastReported(), 1);
  QTest::keyClick(fader, Qt::Key_A);  // not the fader's: on to the host
  EXPECT_EQ(host.passedKeys, std::vector<int>{Qt::Key_A});
  EXPECT_EQ(host.Messages().size(), 7u);
}

TEST_F(StripFader, CoarseStepsBeyondTheThresholdAndFractionalStepsTruncate) {
  fader->SetCoarseThreshold(100);
  fader->SetPosition(150);
  QTest::keyClick(fader, Qt::Key_Up);
  EXPECT_EQ(fader->position(), 160);
  QTest::keyClick(fader, Qt::Key_Down);
  EXPECT_EQ(fader->position(), 150);
  fader->SetPosition(100);
  QTest::keyClick(fader, Qt::Key_Up);  // up is coarse from the threshold on
  EXPECT_EQ(fader->position(), 110);
  fader->SetPosition(100);
  QTest::keyClick(fader, Qt::Key_Down);  // down is coarse only above it
  EXPECT_EQ(fader->position(), 99);

  fader->SetCoarseThreshold(30000);
  fader->SetStep(2.5);
  fader->SetPosition(10);
  QTest::keyClick(fader, Qt::Key_Up);
  EXPECT_EQ(fader->position(), 12);
  fader->SetPosition(10);
  QTest::keyClick(fader, Qt::Key_Down);
  EXPECT_EQ(fader->position(), 7);
}

TEST_F(StripFader, AHiddenOrDisabledFaderIgnoresInput) {
  const QImage shown = fader->grab().toImage();
  fader->SetSkinVisible(false);
  const QImage hidden = fader->grab().toImage();
  EXPECT_EQ(hidden.pixelColor(29, 100), kFaderHost);
  EXPECT_EQ(hidden.pixelColor(29, 275), kFaderHost);
  EXPECT_FALSE(GrabsCap(*fader, QPoint(29, 275)));
  Wheel(*fader, QPoint(29, 100), 120);
  QTest::keyClick(fader, Qt::Key_Up);
  EXPECT_TRUE(host.Messages().empty());
  EXPECT_EQ(host.passedKeys, std::vector<int>{Qt::Key_Up});

  fader->SetSkinVisible(true);
  fader->setEnabled(false);
  EXPECT_FALSE(GrabsCap(*fader, QPoint(29, 275)));
  Wheel(*fader, QPoint(29, 100), 120);
  EXPECT_TRUE(host.Messages().empty());
  EXPECT_EQ(fader->position(), 0);
  EXPECT_NE(fader->grab().toImage(), shown) << "the passive look";
  test::SaveScreenshot(*fader, "skinned_fader_disabled");
}

TEST_F(StripFader, HidingEndsADragAndTheHandBeatsHostPositions) {
  QTest::mousePress(fader, Qt::LeftButton, {}, QPoint(29, 275));
  QTest::mouseMove(fader, QPoint(29, 146));
  fader->SetPosition(30);  // an echo from the console while the hand holds the cap
  EXPECT_EQ(fader->position(), 140);
  QTest::mouseRelease(fader, Qt::LeftButton, {}, QPoint(29, 146));
  fader->SetPosition(30);
  EXPECT_EQ(fader->position(), 30);

  fader->SetPosition(0);
  QTest::mousePress(fader, Qt::LeftButton, {}, QPoint(29, 275));
  ASSERT_TRUE(fader->dragging());
  fader->SetSkinVisible(false);
  EXPECT_FALSE(fader->dragging());
  fader->SetSkinVisible(true);
  host.Forget();
  QTest::mouseMove(fader, QPoint(29, 146));
  EXPECT_TRUE(host.Messages().empty());
  EXPECT_EQ(fader->position(), 0);
}

TEST_F(StripFader, TheCapShowsItsCentreLineAtThePosition) {
  host.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
  fader->clearFocus();  // the window gave it the keyboard when it became active
  fader->SetPosition(140);
  const QImage resting = fader->grab().toImage();
  EXPECT_GT(resting.pixelColor(29, 146).red(), 200);
  EXPECT_GT(resting.pixelColor(29, 146).green(), 200) << "a light line at rest";
  EXPECT_LT(resting.pixelColor(29, 60).lightness(), 30) << "the slot above the cap";
  EXPECT_LT(resting.pixelColor(29, 230).lightness(), 30) << "the slot below the cap";
  EXPECT_EQ(resting.pixelColor(3, 60), kFaderHost) << "the host shows beside the slot";

  QTest::mouseClick(fader, Qt::LeftButton, {}, QPoint(29, 146));
  const QColor focused = fader->grab().toImage().pixelColor(29, 146);
  EXPECT_GT(focused.red(), 180);
  EXPECT_LT(focused.green(), 90) << "a red line while focused";
  test::SaveScreenshot(*fader, "skinned_fader_focused");
}

TEST(FaderScaling, ScaledAndEditorFadersMapTheirOwnTravel) {
  FaderHost host;
  // The strip fader at 1.5 times: travel 412.0 .. 27.0, cap 32 × 53 centred at x 43.
  SkinnedFader* scaled = host.AddFader(QRect(10, 10, 88, 439));
  QTest::mousePress(scaled, Qt::LeftButton, {}, QPoint(43, 412));
  ASSERT_TRUE(scaled->dragging());
  QTest::mouseMove(scaled, QPoint(43, 219));
  EXPECT_EQ(scaled->position(), 140);
  QTest::mouseRelease(scaled, Qt::LeftButton, {}, QPoint(43, 219));

  // The editor frame's fader: style 1, 59 × 231, travel 213 .. 18.
  SkinnedFader* editor = host.AddFader(QRect(120, 10, 59, 231), 1, 151);
  EXPECT_TRUE(GrabsCap(*editor, QPoint(29, 195)));
  EXPECT_FALSE(GrabsCap(*editor, QPoint(29, 194)));
  QTest::mousePress(editor, Qt::LeftButton, {}, QPoint(29, 213));
  QTest::mouseMove(editor, QPoint(29, 115));
  EXPECT_EQ(editor->position(), 140);
  QTest::mouseRelease(editor, Qt::LeftButton, {}, QPoint(29, 115));
}

TEST(FaderScaling, SetPositionAppliesTheScale) {
  FaderHost host;
  auto* fader = new SkinnedFader(&host);
  fader->setGeometry(10, 10, 59, 293);
  ASSERT_TRUE(fader->SetSkin(0, &host.background, 141));
  EXPECT_EQ(fader->position(), 50);
  fader->SetPosition(2.55);  // default scale 10
  EXPECT_EQ(fader->position(), 25);
  fader->SetSetScale(1);
  fader->SetPosition(140.9);
  EXPECT_EQ(fader->position(), 140);
  EXPECT_FALSE(fader->SetSkin(7, &host.background, 141)) << "no such style";
  EXPECT_FALSE(fader->SetSkin(0, &host.background, 9999)) << "no such image";
}

TEST(FaderOrientation, AHorizontalFaderRunsAlongX) {
  FaderHost host;
  SkinnedFader* fader = host.AddFader(QRect(10, 10, 59, 293));
  fader->SetVertical(false);  // same scale: travel 275 .. 18 along x, cap centred at y 29
  EXPECT_TRUE(GrabsCap(*fader, QPoint(275, 29)));
  EXPECT_FALSE(GrabsCap(*fader, QPoint(29, 275)));
  QTest::mousePress(fader, Qt::LeftButton, {}, QPoint(275, 29));
  QTest::mouseMove(fader, QPoint(146, 200));
  EXPECT_EQ(fader->position(), 140);
  QTest::mouseRelease(fader, Qt::LeftButton, {}, QPoint(146, 200));
}

TEST(FaderScreenshot, StripAndEditorFaders) {
  FaderHost host;
  host.AddFader(QRect(10, 10, 59, 293));
  host.AddFader(QRect(80, 10, 59, 293))->SetPosition(180);
  host.AddFader(QRect(150, 10, 59, 293))->SetPosition(280);
  host.AddFader(QRect(220, 10, 59, 231), 1, 151)->SetPosition(140);
  host.AddFader(QRect(290, 10, 88, 439))->SetPosition(140);
  (void)test::SaveScreenshot(host, "skinned_fader_faders");

  // The light cap on the dark track, centred where the position puts it (y 275 at 0, 18 at 280).
  const QImage picture = host.grab().toImage();
  const struct {
    int column;
    double centreY;
    int height;
  } caps[] = {
      {39, 10 + 275, 36},
      {109, 10 + 275 - 257.0 * 180 / 280, 36},
      {179, 10 + 18, 36},
      {334, 10 + 1.5 * 146.5, 54},  // the strip fader at 1.5 times its size, position 140
  };
  for (const auto& cap : caps) {
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < picture.height(); ++y) {
      if (picture.pixelColor(cap.column, y).lightness() < 120) continue;
      if (top < 0) top = y;
      bottom = y;
    }
    EXPECT_NEAR((top + bottom) / 2.0, cap.centreY, 2.0) << "fader at x " << cap.column;
    EXPECT_NEAR(bottom - top + 1, cap.height, 3) << "fader at x " << cap.column;
  }
}

}  // namespace
}  // namespace rmt4::ui
