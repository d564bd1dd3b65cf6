#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "modal_answer.h"
#include "recording_host.h"
#include "screenshot.h"
#include "ui/controls/level_meter.h"
#include "ui/platform/artwork.h"

namespace rmt4::ui {
namespace {

constexpr int kMeterImage = 167;

using test::Picture;

/// A meter set up as the output strip sets up its own: 0..12 over the 370 rows.
struct HostedMeter {
  explicit HostedMeter(QSize size = QSize(30, 370)) : meter(&host) {
    host.resize(200, 600);
    meter.setGeometry(QRect(QPoint(0, 0), size));
    meter.SetFillColour(0);
    meter.SetImage(kMeterImage, 0, 0);
    meter.SetRange(0, 12, 370.0, 0.0);
    meter.SetLevel(0);
  }
  QWidget host;
  LevelMeter meter;
};

/// Equal up to the rounding of smooth scaling.
bool Near(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2 && std::abs(qBlue(a) - qBlue(b)) <= 2;
}

/// Rows of a meter at the image's size that do not show the unlit column
/// above `boundary` and the lit column from `boundary` down (checked at the
/// meter's edge and middle).
int RowsOffTheBoundary(const QImage& picture, const QImage& art, int boundary) {
  int wrong = 0;
  for (int y = 0; y < picture.height(); ++y) {
    const QRgb expected = art.pixel(y < boundary ? 7 : 22, y);
    if (!Near(picture.pixel(0, y), expected) || !Near(picture.pixel(picture.width() / 2, y), expected) ||
        !Near(picture.pixel(picture.width() - 1, y), expected)) {
      ++wrong;
    }
  }
  return wrong;
}

TEST(LevelMeterArtwork, BarRowsHaveTheirColours) {
  const QImage art = LoadArtwork(kMeterImage);
  ASSERT_EQ(art.size(), QSize(30, 370));
  const struct {
    int row;
    QColor unlit, lit;
  } rows[] = {{0, {128, 128, 128}, {128, 128, 128}}, {1, {98, 48, 48}, {220, 0, 0}},   {39, {98, 48, 48}, {220, 0, 0}},
              {40, {98, 98, 48}, {220, 220, 0}},     {149, {98, 98, 48}, {220, 220, 0}}, {150, {48, 98, 48}, {0, 220, 0}},
              {368, {48, 98, 48}, {0, 220, 0}},      {369, {128, 128, 128}, {128, 128, 128}}};
  for (const auto& row : rows) {
    EXPECT_EQ(art.pixelColor(0, row.row), row.unlit) << row.row;
    EXPECT_EQ(art.pixelColor(14, row.row), row.unlit) << row.row;
    EXPECT_EQ(art.pixelColor(15, row.row), row.lit) << row.row;
    EXPECT_EQ(art.pixelColor(29, row.row), row.lit) << row.row;
  }
}

TEST(LevelMeterBar, BoundaryRowFollowsTheLevel) {
  const QImage art = LoadArtwork(kMeterImage).convertToFormat(QImage::Format_RGB32);
  HostedMeter meter;
  const struct {
    int level, boundary;
  } cases[] = {{0, 370}, {6, 185}, {12, 0}};
  for (const auto& c : cases) {
    meter.meter.SetLevel(c.level);
    const QImage picture = Picture(meter.meter);
    EXPECT_EQ(RowsOffTheBoundary(picture, art, c.boundary), 0) << "level " << c.level;
    (void)test::SaveScreenshot(meter.meter, QStringLiteral("level_meter_%1").arg(c.level));
  }
}

TEST(LevelMeterBar, BarScalesWithTheMeter) {
  const QImage art = LoadArtwork(kMeterImage).convertToFormat(QImage::Format_RGB32);
  HostedMeter meter(QSize(60, 740));
  meter.meter.SetLevel(6);
  const QImage picture = Picture(meter.meter);
  EXPECT_TRUE(Near(picture.pixel(30, 369), art.pixel(7, 184)));
  EXPECT_TRUE(Near(picture.pixel(30, 370), art.pixel(22, 185)));
}

// The meters change 20 times a second while music plays: a change repaints
// only the rows between the old and the new boundary, and the screen then
// shows what a full paint shows.
TEST(LevelMeterBar, ChangeRepaintsOnlyTheRowsBetweenTheBoundaries) {
  HostedMeter meter;
  meter.host.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&meter.host));
  test::PaintedRects paints(meter.meter);
  const struct {
    int level;
    QRect rows;
  } steps[] = {{6, {0, 185, 30, 185}}, {12, {0, 0, 30, 185}}, {9, {0, 0, 30, 93}}, {0, {0, 93, 30, 277}}};
  for (const auto& step : steps) {
    paints.rects.clear();
    meter.meter.SetLevel(step.level);
    ASSERT_TRUE(test::PumpUntil([&] { return !paints.rects.empty(); }, 2000)) << "level " << step.level;
    EXPECT_EQ(paints.rects, std::vector<QRect>{step.rows}) << "level " << step.level;
    EXPECT_EQ(test::OnScreen(meter.meter), Picture(meter.meter)) << "level " << step.level;
  }
}

TEST(LevelMeterLevel, TruncatesAndClampsWhenPainted) {
  HostedMeter meter;
  meter.meter.SetLevel(5.9);
  EXPECT_EQ(meter.meter.level(), 5);
  const QImage fifth = Picture(meter.meter);
  meter.meter.SetLevel(5.0);
  EXPECT_EQ(Picture(meter.meter), fifth);

  meter.meter.SetLevel(12);
  const QImage full = Picture(meter.meter);
  meter.meter.SetLevel(0);
  const QImage empty = Picture(meter.meter);

  meter.meter.SetLevel(40);
  EXPECT_EQ(meter.meter.level(), 40) << "the range applies at the next paint";
  EXPECT_EQ(Picture(meter.meter), full);
  EXPECT_EQ(meter.meter.level(), 12);

  meter.meter.SetLevel(-3);
  EXPECT_EQ(Picture(meter.meter), empty);
  EXPECT_EQ(meter.meter.level(), 0);
}

TEST(LevelMeterLevel, ValuesWithoutAnIntegerStayInRange) {
  HostedMeter meter;
  meter.meter.SetLevel(1e12);
  meter.meter.grab();
  EXPECT_EQ(meter.meter.level(), 12);
  meter.meter.SetLevel(-1e12);
  meter.meter.grab();
  EXPECT_EQ(meter.meter.level(), 0);
  meter.meter.SetLevel(std::numeric_limits<double>::quiet_NaN());
  meter.meter.grab();
  EXPECT_EQ(meter.meter.level(), 0);
}

TEST(LevelMeterLevel, EmptyRangeShowsAFullBar) {
  HostedMeter meter;
  meter.meter.SetLevel(12);
  const QImage full = Picture(meter.meter);
  meter.meter.SetRange(4, 4, 370.0, 0.0);
  EXPECT_EQ(Picture(meter.meter), full);
  EXPECT_EQ(meter.meter.level(), 4);
}

}  // namespace
}  // namespace rmt4::ui
