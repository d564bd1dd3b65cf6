#include "ui/controls/skinned_slider.h"

#include <QTest>

#include <gtest/gtest.h>

#include <vector>

#include "recording_host.h"
#include "screenshot.h"

namespace rmt4::ui {
namespace {

const QColor kSliderHost(38, 40, 44);
constexpr int kSliderId = 4024;

using test::RecordedMessage;
using test::Click;
using test::Wheel;

/// A charcoal host for sliders.
class SliderHost : public test::RecordingHost {
 public:
  SliderHost() : RecordingHost(QSize(320, 180), kSliderHost) { show(); }

  /// A slider set up the way the hosts do: skin, ancestor level 1, no tint.
  SkinnedSlider* AddSlider(const QRect& geometry, int png, int style, double minimum, double maximum,
                      int captionLayout = 0) {
    auto* slider = new SkinnedSlider(this);
    slider->setGeometry(geometry);
    slider->SetSliderIndex(3);
    slider->SetAncestorLevel(1);
    slider->SetCaptionLayout(captionLayout);
    slider->SetShowLevelTint(false);
    EXPECT_TRUE(slider->SetSkin(&background, png, style));
    slider->SetMinValue(minimum);
    slider->SetMaxValue(maximum);
    slider->show();
    return slider;
  }
};

/// Pixels in the rectangle that differ from the host's colour.
int InkIn(const QImage& picture, const QRect& area) {
  int ink = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) ink += picture.pixelColor(x, y) != kSliderHost ? 1 : 0;
  }
  return ink;
}

/// The mean x of the pixels in `area` that `picks` accepts (−1 when none does).
double MeanX(const QImage& picture, const QRect& area, bool (*picks)(QColor)) {
  double sum = 0.0;
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (!picks(picture.pixelColor(x, y))) continue;
      sum += x;
      ++count;
    }
  }
  return count > 0 ? sum / count : -1.0;
}

// The strip's pan control: PNG 142, style 2, 60 × 15, range 0..200. Its
// track runs from x 8 to 52 and the thumb is 15 × 15 and fills the height.
class PanSlider : public ::testing::Test {
 protected:
  SliderHost host;
  SkinnedSlider* pan = host.AddSlider(QRect(11, 20, 60, 15), 142, 2, 0, 200);
};

TEST_F(PanSlider, DraggingTheThumbReportsWholeValuesAcrossTheTrack) {
  pan->SetValue(100);  // thumb centre at x 30, box 23..37
  QTest::mousePress(pan, Qt::LeftButton, {}, QPoint(30, 7));
  EXPECT_TRUE(pan->dragging());
  EXPECT_EQ(host.Messages(), (std::vector<RecordedMessage>{{kSliderId, 3, 100}}));

  QTest::mouseMove(pan, QPoint(31, 7));  // 200·23/44 = 104.5 → 105
  EXPECT_EQ(host.LastReported(), 105);
  EXPECT_DOUBLE_EQ(pan->GetValue(), 105.0);
  QTest::mouseMove(pan, QPoint(52, 7));
  EXPECT_EQ(host.LastReported(), 200);
  QTest::mouseMove(pan, QPoint(90, 7));  // beyond the track: clamped
  EXPECT_DOUBLE_EQ(pan->GetValue(), 200.0);
  QTest::mouseMove(pan, QPoint(-20, 7));
  EXPECT_DOUBLE_EQ(pan->GetValue(), 0.0);
  QTest::mouseMove(pan, QPoint(8, 7));
  EXPECT_EQ(host.LastReported(), 0);

  host.Forget();
  QTest::mouseRelease(pan, Qt::LeftButton, {}, QPoint(8, 7));
  EXPECT_FALSE(pan->dragging());
  EXPECT_EQ(host.Messages(), (std::vector<RecordedMessage>{{kSliderId, 3, 0}}));
  QTest::mouseMove(pan, QPoint(40, 7));  // no longer dragging
  EXPECT_EQ(host.Messages().size(), 1u);
}

TEST_F(PanSlider, ClicksBesideTheThumbStepTowardsThem) {
  pan->SetValue(100);
  Click(*pan, QPoint(10, 7));  // left of the thumb
  EXPECT_EQ(host.LastReported(), 99);
  // Right of the thumb lies beyond the hidden toggle's left edge (x 20): reported, not stepped.
  Click(*pan, QPoint(45, 7));
  Click(*pan, QPoint(45, 7));
  EXPECT_EQ(host.LastReported(), 99);
  EXPECT_EQ(host.Messages().size(), 3u);
  pan->SetValue(0);  // thumb box 1..15: the band between it and x 20 still steps up
  Click(*pan, QPoint(17, 7));
  EXPECT_EQ(host.LastReported(), 1);
  Click(*pan, QPoint(20, 7));
  EXPECT_EQ(host.LastReported(), 1);
}

TEST_F(PanSlider, KeysAndWheelStepOneUnitAndStayInRange) {
  pan->SetValue(0);
  QTest::keyClick(pan, Qt::Key_Left);
  EXPECT_EQ(host.LastReported(), 0);
  QTest::keyClick(pan, Qt::Key_Right);
  EXPECT_EQ(host.LastReported(), 1);
  Wheel(*pan, QPoint(30, 7), 120);
  EXPECT_EQ(host.LastReported(), 2);
  Wheel(*pan, QPoint(30, 7), -120);
  EXPECT_EQ(host.LastReported(), 1);
  Wheel(*pan, QPoint(30, 7), 0);  // reported without a step
  EXPECT_EQ(host.LastReported(), 1);
  pan->SetValue(200);
  QTest::keyClick(pan, Qt::Key_Right);
  EXPECT_EQ(host.LastReported(), 200);
  EXPECT_EQ(host.Messages().size(), 6u);

  // Down and Up step as Left and Right do; other keys go on to the host.
  QTest::keyClick(pan, Qt::Key_Down);
  EXPECT_EQ(host.LastReported(), 199);
  QTest::keyClick(pan, Qt::Key_Up);
  EXPECT_EQ(host.LastReported(), 200);
  EXPECT_TRUE(host.passedKeys.empty());
  QTest::keyClick(pan, Qt::Key_A);
  EXPECT_EQ(host.passedKeys, std::vector<int>{Qt::Key_A});
}

TEST_F(PanSlider, AHiddenSliderShowsTheBackgroundAndIgnoresInput) {
  pan->SetValue(100);
  pan->SetSkinVisible(false);
  const QImage picture = pan->grab().toImage();
  EXPECT_EQ(InkIn(picture, picture.rect()), 0);

  QTest::mousePress(pan, Qt::LeftButton, {}, QPoint(30, 7));
  EXPECT_FALSE(pan->dragging());
  Wheel(*pan, QPoint(30, 7), 120);
  QTest::keyClick(pan, Qt::Key_Right);
  EXPECT_TRUE(host.Messages().empty());
  EXPECT_DOUBLE_EQ(pan->GetValue(), 100.0);
  EXPECT_EQ(host.passedKeys, std::vector<int>{Qt::Key_Right});

  pan->SetSkinVisible(true);
  pan->SetThumbVisible(false);
  QTest::mousePress(pan, Qt::LeftButton, {}, QPoint(30, 7));
  EXPECT_FALSE(pan->dragging());
  EXPECT_TRUE(host.Messages().empty());
}

TEST_F(PanSlider, HidingEndsADragAndTheHandBeatsHostValuesWhileDragging) {
  pan->SetValue(100);
  QTest::mousePress(pan, Qt::LeftButton, {}, QPoint(30, 7));
  pan->SetValue(20);  // an echo from the console while the hand holds the thumb
  EXPECT_DOUBLE_EQ(pan->GetValue(), 100.0);
  QTest::mouseRelease(pan, Qt::LeftButton, {}, QPoint(30, 7));
  pan->SetValue(20);
  EXPECT_DOUBLE_EQ(pan->GetValue(), 20.0);

  QTest::mousePress(pan, Qt::LeftButton, {}, QPoint(11, 7));  // thumb box 5..19
  ASSERT_TRUE(pan->dragging());
  pan->SetSkinVisible(false);
  EXPECT_FALSE(pan->dragging());
  pan->SetSkinVisible(true);
  host.Forget();
  QTest::mouseMove(pan, QPoint(40, 7));
  EXPECT_TRUE(host.Messages().empty());
  EXPECT_DOUBLE_EQ(pan->GetValue(), 20.0);
}

// Below the fine threshold values move in tenths; the reported lParam is the
// value truncated toward zero, and the exact value is read with GetValue.
TEST(SliderStepping, TenthsBelowTheThresholdWholeUnitsAbove) {
  SliderHost host;
  SkinnedSlider* slider = host.AddSlider(QRect(10, 10, 214, 32), 155, 3, -80, 10);
  slider->SetValue(0);
  QTest::keyClick(slider, Qt::Key_Left);
  EXPECT_NEAR(slider->GetValue(), -0.1, 1e-12);
  QTest::keyClick(slider, Qt::Key_Left);
  EXPECT_NEAR(slider->GetValue(), -0.2, 1e-12);
  EXPECT_EQ(host.LastReported(), 0);
  QTest::keyClick(slider, Qt::Key_Right);
  QTest::keyClick(slider, Qt::Key_Right);
  EXPECT_DOUBLE_EQ(slider->GetValue(), 0.0);
  QTest::keyClick(slider, Qt::Key_Right);
  EXPECT_DOUBLE_EQ(slider->GetValue(), 1.0);

  slider->SetValue(-1.5);
  Wheel(*slider, QPoint(100, 24), -120);
  EXPECT_NEAR(slider->GetValue(), -1.6, 1e-12);
  EXPECT_EQ(host.LastReported(), -1);

  // A drag quantises to tenths below 0: x 100 is −80 + 90·87/188 = −38.35 → −38.4.
  slider->SetValue(-80);  // thumb at x 13
  QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(13, 24));
  QTest::mouseMove(slider, QPoint(100, 24));
  EXPECT_NEAR(slider->GetValue(), -38.4, 1e-9);
  EXPECT_EQ(host.LastReported(), -38);
  QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(100, 24));

  slider->SetFineThreshold(5);
  slider->SetValue(5);
  QTest::keyClick(slider, Qt::Key_Left);  // at the threshold the step down is fine
  EXPECT_NEAR(slider->GetValue(), 4.9, 1e-12);
  slider->SetValue(4.95);
  QTest::keyClick(slider, Qt::Key_Right);  // 5.05 lies above: whole units
  EXPECT_DOUBLE_EQ(slider->GetValue(), 5.0);
  QTest::keyClick(slider, Qt::Key_Right);
  EXPECT_DOUBLE_EQ(slider->GetValue(), 6.0);
}

// The editors' delay slider: range 1..362 on the captionless editor skin.
TEST(SliderRange, TheTrackEndsAreTheRangeEnds) {
  SliderHost host;
  SkinnedSlider* slider = host.AddSlider(QRect(10, 10, 214, 32), 155, 3, 1, 362);
  slider->SetValue(1);
  QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(13, 16));
  ASSERT_TRUE(slider->dragging());
  EXPECT_EQ(host.LastReported(), 1);
  QTest::mouseMove(slider, QPoint(201, 16));
  EXPECT_DOUBLE_EQ(slider->GetValue(), 362.0);
  QTest::mouseMove(slider, QPoint(107, 16));  // the middle: 1 + 361/2 → 182 (half away from zero)
  EXPECT_DOUBLE_EQ(slider->GetValue(), 182.0);
  QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(107, 16));

  slider->SetValue(362);  // thumb box 188..213
  QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(188, 16));
  EXPECT_TRUE(slider->dragging());
  QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(188, 16));
  Click(*slider, QPoint(187, 16));
  EXPECT_DOUBLE_EQ(slider->GetValue(), 361.0);

  // A host value outside the range is drawn at the range's end and kept as it is.
  host.Forget();
  for (const double outside : {0.0, 400.0}) {
    slider->SetValue(outside);
    (void)test::Picture(*slider);
    EXPECT_DOUBLE_EQ(slider->GetValue(), outside);
  }
  EXPECT_TRUE(host.Messages().empty());
}

TEST(SliderClicks, OnlyClicksLevelWithTheThumbStep) {
  SliderHost host;
  // Captioned: the thumb occupies the lower half (rows 16..31).
  SkinnedSlider* slider = host.AddSlider(QRect(10, 10, 214, 32), 155, 3, 0, 100, 1);
  slider->SetValue(50);
  Click(*slider, QPoint(20, 15));
  EXPECT_DOUBLE_EQ(slider->GetValue(), 50.0);
  EXPECT_EQ(host.LastReported(), 50);  // reported all the same
  Click(*slider, QPoint(20, 16));
  EXPECT_DOUBLE_EQ(slider->GetValue(), 49.0);
  Click(*slider, QPoint(20, 31));
  EXPECT_DOUBLE_EQ(slider->GetValue(), 48.0);
  Click(*slider, QPoint(20, 32));  // below the control
  EXPECT_DOUBLE_EQ(slider->GetValue(), 48.0);
  Click(*slider, QPoint(200, 20));  // right of the thumb: the editor style does not step up
  EXPECT_DOUBLE_EQ(slider->GetValue(), 48.0);
}

// No host enables the toggle; style 0 has one at x 153..167 (its geometry is
// what counts here, so any skin image serves).
TEST(SliderToggle, TheButtonAddsItsAmountToTheValue) {
  SliderHost host;
  auto* slider = new SkinnedSlider(&host);
  slider->setGeometry(10, 10, 170, 33);
  slider->SetAncestorLevel(1);
  slider->SetToggleEnabled(true);
  ASSERT_TRUE(slider->SetSkin(&host.background, 155, 0));
  slider->show();
  EXPECT_DOUBLE_EQ(slider->GetValue(), 500.0);  // SetSkin switches it on

  slider->SetValue(530);
  EXPECT_DOUBLE_EQ(slider->GetValue(), 530.0);
  Click(*slider, QPoint(160, 16));  // the toggle
  EXPECT_DOUBLE_EQ(slider->GetValue(), 30.0);
  EXPECT_EQ(host.LastReported(), 30);
  Click(*slider, QPoint(100, 16));  // right of the thumb (box 41..58), left of the toggle
  EXPECT_DOUBLE_EQ(slider->GetValue(), 31.0);
  Click(*slider, QPoint(160, 16));
  EXPECT_DOUBLE_EQ(slider->GetValue(), 531.0);
  slider->SetValue(40);
  EXPECT_DOUBLE_EQ(slider->GetValue(), 40.0);
}

TEST(SliderCaption, NameLeftValueRight) {
  SliderHost host;
  SkinnedSlider* slider = host.AddSlider(QRect(10, 10, 214, 32), 155, 3, -80, 10, 1);
  slider->SetCaptionFormat(QStringLiteral("1:%0.1fdB"));
  slider->SetValue(-10);
  const QImage picture = slider->grab().toImage();
  EXPECT_EQ(slider->captionText(), QStringLiteral("1:-10.0dB"));
  const int captionRows = 16;
  EXPECT_GT(InkIn(picture, QRect(0, 0, 20, captionRows)), 10) << "the name at the left edge";
  EXPECT_EQ(InkIn(picture, QRect(40, 0, 110, captionRows)), 0) << "nothing between name and value";
  EXPECT_GT(InkIn(picture, QRect(170, 0, 43, captionRows)), 10) << "the value at the right edge";
  test::SaveScreenshot(*slider, "skinned_slider_caption");

  slider->SetCaptionFormat(QString());
  slider->SetCaption(QStringLiteral("Threshold"));
  const QImage plain = slider->grab().toImage();
  EXPECT_GT(InkIn(plain, QRect(0, 0, 40, captionRows)), 10);
  EXPECT_EQ(InkIn(plain, QRect(120, 0, 93, captionRows)), 0);
}

TEST(SliderCaption, OnlyFloatingPointFormatsAreApplied) {
  SliderHost host;
  SkinnedSlider* slider = host.AddSlider(QRect(10, 10, 214, 32), 155, 3, 0, 100, 1);
  slider->SetValue(50);
  const auto captionFor = [&](const char* format) {
    slider->SetCaptionFormat(QString::fromUtf8(format));
    (void)slider->grab();
    return slider->captionText();
  };
  EXPECT_EQ(captionFor("Mix:%3.0f%%"), QStringLiteral("Mix: 50%"));
  EXPECT_EQ(captionFor("%g"), QStringLiteral("50"));
  EXPECT_EQ(captionFor("no value"), QStringLiteral("no value"));
  // Anything a double cannot feed safely is shown as written.
  EXPECT_EQ(captionFor("%s"), QStringLiteral("%s"));
  EXPECT_EQ(captionFor("%d"), QStringLiteral("%d"));
  EXPECT_EQ(captionFor("%f %f"), QStringLiteral("%f %f"));
  EXPECT_EQ(captionFor("%999f"), QStringLiteral("%999f"));
  EXPECT_EQ(captionFor("50%"), QStringLiteral("50%"));
}

TEST(SliderLook, FocusedThumbAndHostBackground) {
  SliderHost host;
  // A blue patch in the host's buffer under the slider's caption area.
  QPainter(&host.background.image()).fillRect(QRect(200, 10, 20, 10), Qt::blue);
  SkinnedSlider* slider = host.AddSlider(QRect(10, 10, 214, 32), 155, 3, 0, 100, 1);
  host.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
  slider->clearFocus();  // the window gave it the keyboard when it became active
  slider->SetValue(50);  // thumb centre at x 13 + 94 = 107
  auto centreLine = [&] { return slider->grab().toImage().pixelColor(107, 24); };
  EXPECT_FALSE(slider->hasFocus()) << "a value from the host leaves the focus alone";
  EXPECT_GT(centreLine().red(), 200) << "resting look: white line";
  Click(*slider, QPoint(107, 24));
  EXPECT_TRUE(slider->hasFocus());
  EXPECT_GT(centreLine().green(), 200);
  EXPECT_LT(centreLine().red(), 120) << "focused look: green line";
  EXPECT_EQ(slider->grab().toImage().pixelColor(195, 2), QColor(Qt::blue)) << "copied from the host's buffer";

  auto* other = new QWidget(&host);
  other->setFocusPolicy(Qt::StrongFocus);
  other->show();
  other->setFocus();
  EXPECT_GT(centreLine().red(), 200) << "resting look: white line";
  EXPECT_GT(centreLine().green(), 200);

  // Moved by its host, the slider shows what lies under its new place.
  slider->move(10, 40);
  EXPECT_EQ(slider->grab().toImage().pixelColor(195, 2), kSliderHost);
}

TEST(SliderLook, TheLevelTintGrowsWithTheValue) {
  SliderHost host;
  SkinnedSlider* slider = host.AddSlider(QRect(10, 10, 214, 32), 155, 3, 0, 100, 1);
  slider->SetValue(0);
  const QColor untinted = slider->grab().toImage().pixelColor(107, 24);
  slider->SetShowLevelTint(true);
  EXPECT_EQ(slider->grab().toImage().pixelColor(60, 24), untinted) << "no tint at the bottom of the range";
  slider->SetValue(100);  // thumb at the right end
  const QColor yellow = slider->grab().toImage().pixelColor(107, 24);
  EXPECT_GT(yellow.red(), 150);
  EXPECT_GT(yellow.green(), 150);
  EXPECT_LT(yellow.blue(), 60);
}

TEST(SliderScreenshot, StripAndEditorSliders) {
  SliderHost host;
  host.AddSlider(QRect(11, 10, 60, 15), 142, 2, 0, 200)->SetValue(0);
  host.AddSlider(QRect(11, 30, 60, 15), 142, 2, 0, 200)->SetValue(100);
  host.AddSlider(QRect(11, 50, 60, 15), 142, 2, 0, 200)->SetValue(200);
  SkinnedSlider* gain = host.AddSlider(QRect(90, 10, 214, 32), 155, 3, -80, 10, 1);
  gain->SetCaptionFormat(QStringLiteral("Gain:%0.1fdB"));
  gain->SetValue(-10);
  SkinnedSlider* delay = host.AddSlider(QRect(90, 50, 214, 32), 155, 3, 1, 362);
  delay->SetValue(100);
  SkinnedSlider* balance = host.AddSlider(QRect(90, 90, 214, 32), 158, 4, 0, 200, 1);
  balance->SetCaption(QStringLiteral("Balance:C"));
  balance->SetValue(100);
  SkinnedSlider* hidden = host.AddSlider(QRect(90, 130, 214, 32), 155, 3, 0, 100, 1);
  hidden->SetSkinVisible(false);
  (void)test::SaveScreenshot(host, "skinned_slider_sliders");

  // Each thumb stands where its value puts it on the track (cream or red, by skin).
  const QImage picture = host.grab().toImage();
  const auto cream = [](QColor c) { return c.red() > 180 && c.green() > 150 && c.red() > c.blue() + 30; };
  const auto red = [](QColor c) { return c.red() > 120 && c.green() < 60 && c.blue() < 60; };
  const struct {
    QRect band;
    bool (*isThumb)(QColor);
    double centreX;
  } thumbs[] = {
      {{11, 10, 60, 15}, cream, 19},       // 0 of 0..200: the track's left end, x 8
      {{11, 30, 60, 15}, cream, 41},       // 100: the middle
      {{11, 50, 60, 15}, cream, 63},       // 200: the right end, x 52
      {{90, 26, 214, 16}, red, 249.2},     // −10 of −80..10: 13 + 188·70/90
      {{90, 50, 214, 32}, red, 154.6},     // 100 of 1..362: 13 + 188·99/361
      {{90, 106, 214, 16}, cream, 197},    // 100 of 0..200: the middle
  };
  for (const auto& thumb : thumbs) {
    EXPECT_NEAR(MeanX(picture, thumb.band, thumb.isThumb), thumb.centreX, 1.5) << "slider at y " << thumb.band.y();
  }
  EXPECT_GT(InkIn(picture, QRect(90, 10, 40, 16)), 10) << "the caption's name";
  EXPECT_GT(InkIn(picture, QRect(250, 10, 53, 16)), 10) << "the caption's value";
  EXPECT_EQ(InkIn(picture, QRect(90, 130, 214, 32)), 0) << "a hidden slider shows only the host";
}

}  // namespace
}  // namespace rmt4::ui
