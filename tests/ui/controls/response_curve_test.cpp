#include "ui/controls/response_curve.h"

#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "dsp/filter_response.h"
#include "dsp/step_snapping.h"
#include "dsp/step_tables.h"
#include "modal_answer.h"
#include "recording_host.h"
#include "screenshot.h"

namespace rmt4::ui {
namespace {

using test::RecordedMessage;
constexpr int kId = kCurveEdited;
// Client 900 × 280: plot 852 × 252 from (30, 10); 0 dB at row 10 + 84 = 94.
const QSize kClient(900, 280);

/// A shown host with the editor at its top left, initialised the way the channel editor frame does.
class ResponseCurveTest : public ::testing::Test {
 protected:
  ResponseCurveTest() : host(QSize(kClient.width(), kClient.height() + 40), QColor(38, 40, 44)) {
    curve->setGeometry(QRect(QPoint(0, 0), kClient));
    curve->Initialise();
    curve->menuEnabled = true;
    host.show();
    (void)curve->grab();  // the first paint after the resize, as on screen
  }

  [[nodiscard]] QPoint Marker(int point) const {
    return {curve->geometry().plotLeft + curve->pointX[point], curve->geometry().zeroRow + curve->pointY[point]};
  }
  void Drag(QPoint from, std::initializer_list<QPoint> path) {
    QTest::mousePress(curve, Qt::LeftButton, {}, from);
    for (const QPoint& at : path) QTest::mouseMove(curve, at);
    QTest::mouseRelease(curve, Qt::LeftButton, {}, *(path.end() - 1));
  }
  /// The greenest of the four pixels around the total curve's point at plot column `column`.
  [[nodiscard]] QColor CurvePixel(const QImage& picture, int column) const {
    const QPoint vertex(curve->geometry().plotLeft + column,
                        curve->geometry().zeroRow + curve->totalCurve()[static_cast<std::size_t>(column)]);
    QColor greenest(Qt::black);
    for (const QPoint& at : {vertex, vertex - QPoint(1, 0), vertex - QPoint(0, 1), vertex - QPoint(1, 1)}) {
      if (picture.pixelColor(at).green() > greenest.green()) greenest = picture.pixelColor(at);
    }
    return greenest;
  }

  test::RecordingHost host;
  ResponseCurve* curve = new ResponseCurve(&host);
};

TEST_F(ResponseCurveTest, InitialiseSpreadsThePointsAndPlacesTheAxis) {
  const CurveGeometry& g = curve->geometry();
  EXPECT_EQ(std::tuple(g.width, g.height, g.zeroRow), std::tuple(852, 252, 94));
  // Laid out at 50 + k·(900 / 17), then re-derived from the snapped frequency when shown.
  EXPECT_EQ(curve->pointFrequency[4], SnapFrequency(FrequencyAtColumn(50 + 4 * (900 / 17), 852)));
  EXPECT_EQ(curve->pointX[4], g.ColumnOf(curve->pointFrequency[4]));
  EXPECT_EQ(curve->pointFrequency[0], 19.0);
  EXPECT_EQ(curve->pointFrequency[1], 20600.0);
  EXPECT_EQ(curve->pointY[1], 80);
  EXPECT_NE(std::ranges::find(FrequencyStepTable, curve->pointFrequency[9]), FrequencyStepTable.end());
}

// Setters store, snap, select and label their point, and never report back.
TEST_F(ResponseCurveTest, SettersSnapSelectAndStaySilent) {
  curve->SetBandFrequency(1005, 3);
  EXPECT_EQ(curve->pointFrequency[5], 1020.0);
  EXPECT_EQ(curve->pointX[5], curve->geometry().ColumnOf(1020));
  EXPECT_EQ(std::pair(curve->selectedPoint(), curve->labelledPoint()), std::pair(5, 5));
  EXPECT_EQ(curve->CaptionOf(5), "F:1020 Q:1.50 G:0.0");
  curve->SetBandQ(1.27, 3);
  curve->SetBandGain(-6.5, 3);
  EXPECT_EQ(curve->CaptionOf(5), "F:1020 Q:1.30 G:-6.5");
  EXPECT_EQ(curve->pointY[5], 45);  // −trunc(−65 · 252 / 360)
  curve->SetBandGain(40, 3);
  EXPECT_EQ(curve->pointGain[5], 120);

  const struct {
    double hz;
    const char* caption;
  } cuts[] = {{15, "F:OFF"}, {99.5, "F:99.5"}, {150, "F:150"}, {30000, "F:OFF"}};
  for (const auto& cut : cuts) {
    curve->SetCutFrequency(cut.hz, 0);
    EXPECT_EQ(curve->CaptionOf(0), cut.caption) << cut.hz;
  }
  curve->freeFrequency = true;
  curve->SetCutFrequency(99.5, 1);
  EXPECT_EQ(curve->CaptionOf(1), "F:100");
  EXPECT_EQ(curve->selectedPoint(), 1);
  EXPECT_TRUE(host.Messages().empty());
}

TEST_F(ResponseCurveTest, CutTypeCodesPickTheFilterTheyBelongTo) {
  const struct {
    int code;
    int hpf, lpf, selected;  // selected 2: ignored, band 1 stays selected
  } cases[] = {{0, 8, 9, 2},    {20, 20, 9, 0}, {21, 20, 21, 1}, {32, 20, 21, 2}, {39, 20, 21, 2},
               {7, 20, 21, 2},  {70, 20, 21, 2}, {68, 68, 21, 0}, {41, 68, 41, 1}};
  for (const auto& c : cases) {
    curve->SetBandGain(0, 0);
    curve->SetCutType(c.code);
    EXPECT_EQ(std::tuple(int{curve->hpfTypeCode}, int{curve->lpfTypeCode}, curve->selectedPoint()),
              std::tuple(c.hpf, c.lpf, c.selected))
        << c.code;
  }
  // Code 20 is the 24-dB Butterworth: the selected row is its response, steeper than code 8's.
  curve->SetCutFrequency(100, 0);
  curve->SetCutType(20);
  const PlotGeometry plot = curve->geometry().Plot();
  const std::vector<double> expected = CutResponse(20, {100, 20600}, plot);
  ASSERT_EQ(curve->selectedCurve().size(), expected.size());
  EXPECT_EQ(curve->selectedCurve()[50], static_cast<int>(expected[50]));
  EXPECT_GT(curve->selectedCurve()[50], static_cast<int>(CutResponse(8, {100, 20600}, plot)[50]));
  EXPECT_TRUE(host.Messages().empty());
}

TEST_F(ResponseCurveTest, BandIndicesOutOfRangeNanValuesAndAFlatAxisAreHarmless) {
  const auto before = curve->pointFrequency;
  for (const int band : {-1, 13, 200}) {
    curve->SetBandFrequency(1000, band);
    curve->SetBandGain(3, band);
    curve->SetBandQ(3, band);
  }
  curve->SetCutFrequency(1000, 2);
  EXPECT_EQ(curve->pointFrequency, before);
  curve->SetBandGain(std::nan(""), 0);
  EXPECT_EQ(curve->pointGain[2], 0);
  curve->SetCutFrequency(std::nan(""), 0);
  EXPECT_EQ(curve->pointFrequency[0], 19.0);

  // An axis without height (coinciding limits) has its 0-dB row at the top and no offsets.
  curve->dbMax = curve->dbMin = 0;
  curve->resize(kClient + QSize(0, 10));
  EXPECT_EQ(curve->geometry().zeroRow, 10);
  curve->SetBandGain(6, 0);
  EXPECT_EQ(std::pair(curve->pointGain[2], curve->pointY[2]), std::pair(0, 0));
  EXPECT_EQ(curve->geometry().GainOfOffset(30), 0);
}

// Drags report every step and end with the marker on its snapped frequency's column.
TEST_F(ResponseCurveTest, DraggingABandFollowsThePointerWithinTheAxis) {
  curve->SetBandFrequency(1000, 0);
  const QPoint start = Marker(2);
  Drag(start, {start + QPoint(40, -300)});
  EXPECT_EQ(curve->pointGain[2], 120);
  EXPECT_EQ(curve->pointX[2], curve->geometry().ColumnOf(curve->pointFrequency[2]));
  EXPECT_EQ(host.Messages(), (std::vector<RecordedMessage>{{kId, 0, 0}, {kId, 0, 0}}));
  Drag(Marker(2), {QPoint(Marker(2).x(), 500)});
  EXPECT_EQ(curve->pointGain[2], -240);
  EXPECT_EQ(curve->draggedPoint(), 0);

  const struct {
    int type;
    bool mayBoost;
    int expectedY;  // dragged 40 px above the 0-dB line
  } shelves[] = {{5, false, 0}, {6, false, 0}, {7, false, -40}, {5, true, -40}, {0, true, 0}};
  for (const auto& s : shelves) {
    curve->SetBandGain(0, 1);
    curve->pointBandType[3] = s.type;
    curve->shelfMayBoost = s.mayBoost;
    Drag(Marker(3), {Marker(3) - QPoint(0, 40)});
    EXPECT_EQ(curve->pointY[3], s.expectedY) << s.type << s.mayBoost;
  }
}

TEST_F(ResponseCurveTest, CutFiltersStayOnTheirRowAndInOrderUnderTheLock) {
  curve->SetCutFrequency(100, 0);
  curve->SetCutFrequency(1000, 1);
  curve->cutOrderLock = true;
  host.Forget();
  Drag(Marker(1), {Marker(1) - QPoint(400, 50)});
  EXPECT_EQ(std::pair(curve->pointFrequency[1], curve->pointY[1]), std::pair(100.0, 80));
  EXPECT_EQ(host.Messages().front(), (RecordedMessage{kId, 2, 0}));
  curve->SetCutFrequency(1000, 1);
  Drag(Marker(0), {Marker(0) + QPoint(600, -50)});
  EXPECT_EQ(std::pair(curve->pointFrequency[0], curve->pointY[0]), std::pair(1000.0, 80));
  EXPECT_EQ(host.Messages().back(), (RecordedMessage{kId, 1, 0}));

  // Vertical-only pins bands, not the cut filters.
  curve->verticalOnly = true;
  curve->cutOrderLock = false;
  curve->SetBandFrequency(500, 0);
  Drag(Marker(2), {Marker(2) + QPoint(200, 30)});
  EXPECT_EQ(curve->pointFrequency[2], 500.0);
  EXPECT_LT(curve->pointGain[2], 0);
  Drag(Marker(0), {Marker(0) - QPoint(200, 0)});
  EXPECT_LT(curve->pointFrequency[0], 1000.0);
  EXPECT_EQ(curve->pointX[0], curve->geometry().ColumnOf(curve->pointFrequency[0]));
}

TEST_F(ResponseCurveTest, QArrowsStandByTheIntegerPartOfQAndFollowTheirMovement) {
  const struct {
    double q;
    int distance;
  } arrows[] = {{0.71, 124}, {0.4, 124}, {1.5, 109}, {128, 25}};
  curve->SetBandFrequency(1000, 4);
  for (const auto& a : arrows) {
    SCOPED_TRACE(a.q);
    curve->SetBandQ(a.q, 4);
    host.Forget();
    EXPECT_EQ(QHandleDistance(a.q), a.distance);
    // Pressed and released in place, the arrow leaves Q alone and reports no change of band 4.
    QTest::mousePress(curve, Qt::LeftButton, {}, Marker(6) - QPoint(a.distance, 0));
    EXPECT_TRUE(curve->leftHandleActive());
    QTest::mouseRelease(curve, Qt::LeftButton, {}, Marker(6) - QPoint(a.distance, 0));
    EXPECT_FALSE(curve->leftHandleActive());
    EXPECT_EQ(curve->pointQ[6], a.q);
    // (At Q 128 the arrow lies on band 6's marker, which the press selects.)
    EXPECT_EQ(std::ranges::count(host.Messages(), RecordedMessage{kId, 0, 4}), 0);
  }
  curve->SetBandQ(1.5, 4);
  host.Forget();
  const auto start = static_cast<std::size_t>(std::ranges::find(QStepTable, 1.5) - QStepTable.begin());
  const QPoint right = Marker(6) + QPoint(109, 0);
  QTest::mousePress(curve, Qt::LeftButton, {}, right);
  EXPECT_TRUE(curve->rightHandleActive());
  // 20 px toward the marker narrows the band by trunc(1.01 · 20) steps; back again restores it.
  QTest::mouseMove(curve, right - QPoint(20, 0));
  EXPECT_EQ(curve->pointQ[6], QStepTable[start + 20]);
  QTest::mouseMove(curve, right);
  EXPECT_EQ(curve->pointQ[6], 1.5);
  QTest::mouseRelease(curve, Qt::LeftButton, {}, right + QPoint(400, 0));
  EXPECT_EQ(curve->pointQ[6], QStepTable[0]) << "far away: the widest band";
  EXPECT_EQ(host.Messages(), std::vector<RecordedMessage>(3, {kId, 0, 4}));
}

TEST_F(ResponseCurveTest, WheelAndUpDownStepTheSelectedPoint) {
  curve->SetBandGain(0, 2);
  test::Wheel(*curve, Marker(4), 120);
  test::Wheel(*curve, Marker(4), 120);
  test::Wheel(*curve, Marker(4), -120);
  EXPECT_EQ(curve->pointGain[4], 1);
  QTest::keyClick(curve, Qt::Key_Down);
  QTest::keyClick(curve, Qt::Key_Down);
  EXPECT_EQ(curve->pointGain[4], -1);
  EXPECT_EQ(host.Messages(), std::vector<RecordedMessage>(5, {kId, 0, 2}));

  curve->SetCutFrequency(1000, 0);
  host.Forget();
  test::Wheel(*curve, Marker(0), 120);  // forward: one step down
  EXPECT_EQ(curve->pointFrequency[0], 981.0);
  QTest::keyClick(curve, Qt::Key_Down);
  QTest::keyClick(curve, Qt::Key_Down);
  EXPECT_EQ(curve->pointFrequency[0], 1020.0);
  EXPECT_EQ(curve->pointX[0], curve->geometry().ColumnOf(1020));
  EXPECT_EQ(host.Messages(), std::vector<RecordedMessage>(3, {kId, 1, 0}));
  QTest::keyClick(curve, Qt::Key_A);
  EXPECT_EQ(host.passedKeys, std::vector<int>{Qt::Key_A});

  // A sideways turn or a trackpad's event has no vertical distance: it steps nothing.
  host.Forget();
  curve->SetBandGain(0, 2);
  test::Wheel(*curve, Marker(4), 0);
  EXPECT_EQ(curve->pointGain[4], 0);
  EXPECT_TRUE(host.Messages().empty());
}

TEST_F(ResponseCurveTest, RightButtonMenuKeepsItsMarginAndReportsTheItem) {
  QTest::mouseClick(curve, Qt::RightButton, {}, QPoint(300, 40));
  EXPECT_EQ(curve->copyRect(), QRect(QPoint(300, 40), QPoint(349, 59)));
  EXPECT_EQ(curve->pasteRect(), QRect(QPoint(300, 60), QPoint(349, 79)));
  const struct {
    QPoint at;
    int state;
  } hovers[] = {{{310, 65}, 2}, {{352, 82}, 2}, {{310, 45}, 1}, {{352, 90}, 0}};
  for (const auto& h : hovers) {
    QTest::mouseMove(curve, h.at);
    EXPECT_EQ(curve->menuState(), h.state) << h.at.x() << "," << h.at.y();
  }
  QTest::mouseClick(curve, Qt::RightButton, {}, QPoint(300, 40));
  QTest::mouseMove(curve, QPoint(358, 50));
  EXPECT_EQ(curve->menuState(), 0);
  EXPECT_TRUE(host.Messages().empty());

  for (const auto& [at, item] : {std::pair(QPoint(320, 70), 4), std::pair(QPoint(320, 45), 3)}) {
    QTest::mouseClick(curve, Qt::RightButton, {}, QPoint(300, 40));
    QTest::mouseClick(curve, Qt::LeftButton, {}, at);
    EXPECT_EQ(curve->menuState(), 0);
    EXPECT_EQ(host.Messages().back(), (RecordedMessage{kId, item, 0}));
  }
  curve->menuEnabled = false;
  QTest::mouseClick(curve, Qt::RightButton, {}, QPoint(300, 40));
  EXPECT_EQ(curve->menuState(), 0);
}

TEST_F(ResponseCurveTest, DisabledInputIgnoresTheMouse) {
  curve->inputEnabled = false;
  const int before = curve->pointY[2];
  Drag(Marker(2), {Marker(2) + QPoint(0, 50)});
  test::Wheel(*curve, Marker(2), 120);
  QTest::mouseClick(curve, Qt::RightButton, {}, QPoint(300, 40));
  EXPECT_EQ(curve->pointY[2], before);
  EXPECT_EQ(curve->menuState(), 0);
  EXPECT_TRUE(host.Messages().empty());
}

TEST_F(ResponseCurveTest, ResizeKeepsRowsInProportionAndShadesPointFourteen) {
  curve->SetBandGain(-12, 12);  // point 14
  curve->SetBandGain(6, 0);
  curve->resize(1160, 532);  // plot height 252 → 504
  EXPECT_EQ(curve->pointY[2], -84);
  EXPECT_EQ(curve->pointX[14], curve->geometry().ColumnOf(curve->pointFrequency[14]));
  (void)curve->grab();
  const std::vector<double> row14 =
      BandResponse(7, curve->pointX[14], curve->pointY[14], 1.5, curve->geometry().Plot());
  ASSERT_EQ(curve->selectedCurve().size(), 1112u);
  EXPECT_EQ(curve->selectedCurve()[600], static_cast<int>(row14[600]));

  // A collapsed editor keeps its rows for when it opens again.
  curve->resize(10, 10);
  (void)curve->grab();
  EXPECT_TRUE(curve->totalCurve().empty());
  curve->resize(1160, 532);
  EXPECT_EQ(curve->pointY[2], -84);
  // Plots one and two columns wide draw without reading past their curves.
  for (const QSize size : {QSize(49, 40), QSize(50, 29)}) {
    curve->resize(size);
    (void)curve->grab();
    EXPECT_EQ(curve->totalCurve().size(), static_cast<std::size_t>(size.width() - 48));
  }
}

TEST_F(ResponseCurveTest, ActivityStartsThePulseAndSelectsBandOne) {
  curve->SetCutFrequency(100, 0);
  curve->SetActive(1);
  EXPECT_TRUE(curve->animating());
  EXPECT_EQ(curve->selectedPoint(), 2);
  EXPECT_TRUE(test::PumpUntil([&] { return curve->animationPhase() >= 1; }, 2000)) << "the pulse does not step";
  curve->SetActive(0);
  EXPECT_FALSE(curve->animating());
  curve->SetCutFrequency(100, 0);
  curve->SetActive(2);
  EXPECT_EQ(curve->selectedPoint(), 0);
  curve->SetActive(0);
}

// The pulse runs all the time the editor is open: each step repaints only the
// pulsing marker's cell, not the whole plot, and the screen still shows what a
// full paint shows (the marker's caption just under the cell included).
TEST_F(ResponseCurveTest, PulseRepaintsOnlyTheSelectedMarker) {
  curve->SetActive(1);
  QCoreApplication::processEvents();  // the selection's own repaint
  test::PaintedRects paints(*curve);
  ASSERT_TRUE(test::PumpUntil([&] { return paints.rects.size() >= 2; }, 2000));
  const QRect cell(Marker(2) - QPoint(14, 12), QSize(24, 24));
  for (const QRect& painted : paints.rects) EXPECT_TRUE(cell.contains(painted)) << painted.x() << "," << painted.y();
  EXPECT_EQ(test::OnScreen(*curve), test::Picture(*curve)) << "at phase " << curve->animationPhase();
  curve->SetActive(0);
}

// Once the pulse has been round, a step asks for a repaint only when the
// marker's picture changes; a change from the console still shows at once.
TEST_F(ResponseCurveTest, PulseRepaintsOnlyStepsThatChangeThePicture) {
  curve->SetBandGain(6.0, 0);  // band 1's shaded area reaches into its marker's cell
  curve->SetActive(1);
  test::PaintedRects paints(*curve);
  const auto step = [&] {
    const int phase = curve->animationPhase();
    const std::size_t painted = paints.rects.size();
    EXPECT_TRUE(test::PumpUntil([&] { return curve->animationPhase() != phase; }, 2000));
    QCoreApplication::processEvents();  // the step's repaint, if any
    return paints.rects.size() > painted;
  };
  for (int n = 0; n < kCurveMarkerFrames; ++n) (void)step();  // a first round
  QImage shown = test::OnScreen(*curve);
  for (int n = 0; n < kCurveMarkerFrames; ++n) {
    const bool repainted = step();
    const QImage now = test::OnScreen(*curve);
    EXPECT_EQ(repainted, now != shown) << "at phase " << curve->animationPhase();
    shown = now;
  }

  curve->SetBandQ(4.0, 0);  // same marker cell, another shaded area in it
  for (int n = 0; n < kCurveMarkerFrames; ++n) (void)step();
  EXPECT_EQ(test::OnScreen(*curve), test::Picture(*curve)) << "at phase " << curve->animationPhase();
  curve->SetActive(0);
}

// Screenshots, each checked at a few pixels: the curve where it must be, a
// marker, the grid and black where nothing is drawn.
class ResponseCurvePictures : public ResponseCurveTest {
 protected:
  void ExpectPlotLooksRight(const QImage& picture, int curveColumn, int point, const QColor& markerRgb) {
    const CurveGeometry& g = curve->geometry();
    const QColor line = CurvePixel(picture, curveColumn);
    EXPECT_GT(line.green(), 150) << line.name().toStdString();
    EXPECT_LT(line.red(), 100);
    const QColor marker = picture.pixelColor(Marker(point) + QPoint(-8, -4));
    EXPECT_NEAR(marker.red(), markerRgb.red() * 0.56, 30) << marker.name().toStdString();
    EXPECT_NEAR(marker.green(), markerRgb.green() * 0.56, 30);
    EXPECT_NEAR(marker.blue(), markerRgb.blue() * 0.56, 30);
    const int quietRow = (g.GridRow(0) + g.GridRow(1)) / 2;
    EXPECT_EQ(picture.pixelColor(g.plotLeft + g.ColumnOf(1500), quietRow), QColor(Qt::black));
    EXPECT_EQ(picture.pixelColor(g.plotLeft + g.ColumnOf(1000), quietRow), QColor(0x61, 0x61, 0x61));
  }
};

TEST_F(ResponseCurvePictures, InputChannelWithFourBands) {
  for (int k = 6; k < 15; ++k) curve->pointEnabled[static_cast<std::size_t>(k)] = 0;
  const double hz[] = {120, 800, 3000, 9000};
  const double db[] = {4, -6, 3, -9};
  for (int band = 0; band < 4; ++band) {
    curve->SetBandFrequency(hz[band], band);
    curve->SetBandGain(db[band], band);
  }
  curve->SetCutFrequency(40, 0);
  curve->SetCutFrequency(18000, 1);
  curve->SetBandQ(2.5, 1);
  const QImage picture = test::Picture(*curve);
  ExpectPlotLooksRight(picture, curve->geometry().ColumnOf(500), 2, QColor(0, 191, 255));
  EXPECT_EQ(curve->CaptionOf(3), "F:809 Q:2.50 G:-6.0");
  EXPECT_FALSE(test::SaveScreenshot(*curve, "response_curve_input_4_bands").isEmpty());
}

TEST_F(ResponseCurvePictures, OutputWithThirteenBandsAndEqPass) {
  for (int band = 0; band < 13; ++band) {
    curve->SetBandFrequency(40 * std::pow(1.7, band), band);
    curve->SetBandGain(band % 2 == 0 ? 3 : -4, band);
  }
  curve->SetCutFrequency(25, 0);
  curve->SetEqActive(false);
  const QImage picture = test::Picture(*curve);
  ExpectPlotLooksRight(picture, curve->geometry().ColumnOf(52), 5, QColor(124, 252, 0));
  EXPECT_FALSE(test::SaveScreenshot(*curve, "response_curve_output_13_bands").isEmpty());
}

TEST_F(ResponseCurvePictures, CutFilterTypes) {
  for (int k = 2; k < 15; ++k) curve->pointEnabled[static_cast<std::size_t>(k)] = 0;
  curve->pointEnabled[2] = 1;
  curve->SetBandFrequency(1500, 0);
  for (const auto& [hpf, lpf] : {std::pair(8, 9), std::pair(20, 21), std::pair(26, 21)}) {
    curve->SetCutFrequency(200, 0);
    curve->SetCutFrequency(5000, 1);
    curve->SetCutType(hpf);
    curve->SetCutType(lpf);  // the LPF selected: its shaded area
    const QImage picture = test::Picture(*curve);
    ExpectPlotLooksRight(picture, curve->geometry().ColumnOf(160), 2, QColor(0, 191, 255));
    EXPECT_FALSE(test::SaveScreenshot(*curve, QString("response_curve_cut_%1_%2").arg(hpf).arg(lpf)).isEmpty());
  }
}

TEST_F(ResponseCurvePictures, CopyPasteMenuOpen) {
  QTest::mouseClick(curve, Qt::RightButton, {}, QPoint(300, 40));
  const QImage picture = test::Picture(*curve);
  EXPECT_EQ(picture.pixelColor(302, 42), QColor(255, 255, 50));
  EXPECT_EQ(picture.pixelColor(302, 62), QColor(Qt::white));
  EXPECT_EQ(picture.pixelColor(351, 42), QColor(Qt::black));
  EXPECT_FALSE(test::SaveScreenshot(*curve, "response_curve_menu").isEmpty());
}

// The host composes the editor into its own picture at the editor's place.
TEST_F(ResponseCurveTest, PaintIntoDrawsTheFrameAtTheEditorsPlace) {
  curve->move(20, 30);
  QImage hostPicture(host.size(), QImage::Format_RGB32);
  hostPicture.fill(Qt::blue);
  QPainter painter(&hostPicture);
  curve->PaintInto(painter);
  painter.end();
  EXPECT_EQ(hostPicture.pixelColor(19, 29), QColor(Qt::blue));
  EXPECT_EQ(hostPicture.pixelColor(20 + curve->geometry().plotLeft + 1, 30 + 12), QColor(Qt::black));
}

}  // namespace
}  // namespace rmt4::ui
