#include "ui/controls/response_curve.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "dsp/filter_response.h"
#include "dsp/step_snapping.h"
#include "dsp/step_tables.h"
#include "ui/controls/response_curve_caption.h"

namespace rmt4::ui {
namespace {

constexpr int kAnimationMs = 100;
constexpr int kLastAnimationPhase = 5;
/// Half the side of a marker's and an arrow's hit box.
constexpr int kHitHalf = kCurveCellSize / 2;
constexpr QSize kMenuItemSize(50, 20);
/// How far the pointer may stray outside the menu before it closes.
constexpr int kMenuMargin = 5;
/// Initial layout: the first marker's column and the spacing divisor.
constexpr int kFirstColumn = 50;
constexpr int kSpacingDivisor = 17;
constexpr double kInitialQ = 1.5;
constexpr int kUnscaledCutRow = 80;

/// v limited to lo..hi; a reversed range gives hi, never undefined behaviour.
double Limit(double v, double lo, double hi) { return std::min(std::max(v, lo), hi); }
int Limit(int v, int lo, int hi) { return std::min(std::max(v, lo), hi); }

/// NaN frequencies read as the lower limit.
double LimitHz(double hz, double lo, double hi) { return std::isnan(hz) ? lo : Limit(hz, lo, hi); }

bool HitBox(QPoint centre, QPoint at) {
  return at.x() >= centre.x() - kHitHalf && at.x() < centre.x() + kHitHalf && at.y() >= centre.y() - kHitHalf &&
         at.y() < centre.y() + kHitHalf;
}

bool IsHpfCode(int code) { return code % 2 == 0 && ((code >= 8 && code <= 30) || (code >= 40 && code <= 68)); }
bool IsLpfCode(int code) { return code % 2 == 1 && ((code >= 9 && code <= 31) || (code >= 41 && code <= 69)); }

}  // namespace

ResponseCurve::ResponseCurve(QWidget* parent, int controlId) : QWidget(parent), controlId_(controlId) {
  setMouseTracking(true);  // hovering labels the point under the pointer
  setFocusPolicy(Qt::ClickFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ResponseCurve::Initialise() {
  geometry_ = CurveGeometry::ForClient(size(), dbMax, dbMin);
  rowsHeight_ = geometry_.height;
  const int spacing = width() / kSpacingDivisor;
  for (int k = 0; k < kCurvePointCount; ++k) {
    pointEnabled[k] = 1;
    pointX[k] = kFirstColumn + spacing * k;
    pointY[k] = 0;
    pointFrequency[k] = SnappedUnlessFree(geometry_.FrequencyAt(pointX[k]));
    pointQ[k] = kInitialQ;
    pointHasQ[k] = 1;
    pointBandType[k] = kPeakingBand;
    pointGain[k] = 0;
  }
  // The cut filters' columns follow only when the host sets their frequencies.
  pointY[kHpfPoint] = pointY[kLpfPoint] = cutRow;
  pointFrequency[kHpfPoint] = kAxisMinHz;
  pointFrequency[kLpfPoint] = kAxisMaxHz;
  markerSheet_ = DrawCurveMarkerSheet();
  arrowSheet_ = DrawCurveArrowSheet();
  passCaption_ = DrawCurvePassCaption();
  initialised_ = true;
  recomputeAll_ = true;
  RecreateLayers();
  update();
}

double ResponseCurve::SnappedUnlessFree(double hz) const { return freeFrequency ? hz : SnapFrequency(hz); }

void ResponseCurve::SetBandFrequency(double hz, int band) {
  if (band < 0 || band >= kBandCount) return;
  const int p = band + kFirstBandPoint;
  pointFrequency[p] = SnappedUnlessFree(LimitHz(hz, bandMinHz, bandMaxHz));
  pointX[p] = geometry_.ColumnOf(pointFrequency[p]);
  ShowSetPoint(p);
}

void ResponseCurve::SetBandQ(double q, int band) {
  if (band < 0 || band >= kBandCount) return;
  const int p = band + kFirstBandPoint;
  pointQ[p] = SnapQ(q);
  ShowSetPoint(p);
}

void ResponseCurve::SetBandGain(double db, int band) {
  if (band < 0 || band >= kBandCount) return;
  const int p = band + kFirstBandPoint;
  const double tenths = std::isnan(db) ? 0.0 : Limit(db * 10.0, static_cast<double>(dbMin), static_cast<double>(dbMax));
  pointGain[p] = static_cast<int>(tenths);
  pointY[p] = geometry_.OffsetOfGain(tenths);
  ShowSetPoint(p);
}

void ResponseCurve::SetCutFrequency(double hz, int which) {
  if (which != kHpfPoint && which != kLpfPoint) return;
  pointFrequency[which] =
      which == kHpfPoint ? LimitHz(hz, hpfMinHz, hpfMaxHz) : LimitHz(hz, lpfMinHz, lpfMaxHz);
  pointX[which] = geometry_.ColumnOf(pointFrequency[which]);
  ShowSetPoint(which);
}

void ResponseCurve::SetCutType(int code) {
  if (IsHpfCode(code)) {
    hpfTypeCode = static_cast<CutTypeCode>(code);
    ShowSetPoint(kHpfPoint);
  } else if (IsLpfCode(code)) {
    lpfTypeCode = static_cast<CutTypeCode>(code);
    ShowSetPoint(kLpfPoint);
  }
}

void ResponseCurve::SetEqActive(bool active) {
  eqActive = active;
  update();
}

void ResponseCurve::SetActive(int mode) {
  if (mode == 0) {
    animation_.stop();
    update();
    return;
  }
  animation_.start(kAnimationMs, this);
  if (mode == 1 && !Dragging()) {
    selectedPoint_ = labelledPoint_ = kFirstBandPoint;
    RecomputePoint(kFirstBandPoint);
    update();
  }
}

void ResponseCurve::ShowSetPoint(int point) {
  if (Dragging()) return;
  selectedPoint_ = labelledPoint_ = point;
  RecomputePoint(point);
  update();
}

void ResponseCurve::RecomputePoint(int point) {
  const PlotGeometry plot = geometry_.Plot();
  if (IsBand(point)) {
    responses_[point] = BandResponse(pointBandType[point], pointX[point], pointY[point], pointQ[point], plot);
  } else {
    const CutFilterPoints cuts{pointFrequency[kHpfPoint], pointFrequency[kLpfPoint], pointQ[kHpfPoint],
                               pointQ[kLpfPoint],         hpfMaxHz,                  lpfMaxHz};
    responses_[point] = CutResponse(point == kHpfPoint ? hpfTypeCode : lpfTypeCode, cuts, plot);
  }
  const std::vector<double>& row = responses_[point];
  selectedCurve_.assign(static_cast<std::size_t>(geometry_.width), 0);
  if (row.size() == selectedCurve_.size()) std::ranges::transform(row, selectedCurve_.begin(), [](double v) {
      return static_cast<int>(v);
    });
  SumTotal();
}

void ResponseCurve::RecomputeAllPoints() {
  for (int k = 0; k < kCurvePointCount; ++k) RecomputePoint(k);
}

void ResponseCurve::SumTotal() {
  const auto w = static_cast<std::size_t>(geometry_.width);
  totalSum_.assign(w, 0.0);
  for (int k = 0; k < kCurvePointCount; ++k) {
    // A row of another width (before the first recomputation at this size) counts as flat.
    if (!pointEnabled[k] || responses_[k].size() != w) continue;
    for (std::size_t i = 0; i < w; ++i) totalSum_[i] += responses_[k][i];
  }
  totalCurve_.resize(w);
  std::ranges::transform(totalSum_, totalCurve_.begin(), [](double v) { return static_cast<int>(v); });
}

void ResponseCurve::Notify(int point) {
  if (point == kHpfPoint) {
    SendWindowMessage(parentWidget(), controlId_, kHpfNotice, 0);
  } else if (point == kLpfPoint) {
    SendWindowMessage(parentWidget(), controlId_, kLpfNotice, 0);
  } else {
    SendWindowMessage(parentWidget(), controlId_, kBandNotice, point - kFirstBandPoint);
  }
}

void ResponseCurve::NotifyMenu(Notice item) {
  menuState_ = 0;
  update();
  SendWindowMessage(parentWidget(), controlId_, item, 0);
}

QPoint ResponseCurve::MarkerCentre(int point) const {
  return QPoint(geometry_.plotLeft + pointX[point], geometry_.zeroRow + pointY[point]);
}

int ResponseCurve::PointAt(QPoint at) const {
  for (int k = 0; k < kCurvePointCount; ++k) {
    if (pointEnabled[k] && HitBox(MarkerCentre(k), at)) return k;
  }
  return -1;
}

QString ResponseCurve::CaptionOf(int point) const {
  return CurveCaptionText({.cutFilter = !IsBand(point),
                           .hasQ = pointHasQ[point] != 0,
                           .hz = pointFrequency[point],
                           .q = pointQ[point],
                           .gainTenths = pointGain[point],
                           .freeFrequency = freeFrequency});
}

bool ResponseCurve::PressHandle(QPoint at) {
  const int p = selectedPoint_;
  if (!pointHasQ[p] || !IsBand(p)) return false;
  const int distance = QHandleDistance(pointQ[p]);
  const QPoint centre = MarkerCentre(p);
  leftHandleActive_ = HitBox(centre - QPoint(distance, 0), at);
  rightHandleActive_ = HitBox(centre + QPoint(distance, 0), at);
  handlePressX_ = at.x();
  handlePressQ_ = pointQ[p];
  const auto atOrAbove = std::ranges::lower_bound(QStepTable, pointQ[p]);
  handlePressQIndex_ = static_cast<int>(std::min(atOrAbove, QStepTable.end() - 1) - QStepTable.begin());
  return leftHandleActive_ || rightHandleActive_;
}

void ResponseCurve::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (!inputEnabled || event->button() != Qt::LeftButton) return;
  setFocus(Qt::MouseFocusReason);
  const QPoint at = event->position().toPoint();
  if (PressHandle(at)) {
    setCursor(Qt::PointingHandCursor);
    update();
  }
  if (const int k = PointAt(at); k >= 0) {
    draggedPoint_ = k + 1;
    selectedPoint_ = k;
    setCursor(Qt::PointingHandCursor);
    Notify(k);
    RecomputePoint(k);
    update();
  }
  if (menuState_ > 0 && menuEnabled) {
    if (copyRect_.contains(at)) {
      NotifyMenu(kCopyNotice);
    } else if (pasteRect_.contains(at)) {
      NotifyMenu(kPasteNotice);
    }
  }
}

void ResponseCurve::HoverMenu(QPoint at) {
  const int before = menuState_;
  if (copyRect_.contains(at)) {
    menuState_ = 1;
  } else if (pasteRect_.contains(at)) {
    menuState_ = 2;
  } else {
    const QRect margin = copyRect_.united(pasteRect_).adjusted(-kMenuMargin, -kMenuMargin, kMenuMargin, kMenuMargin);
    if (!margin.contains(at)) menuState_ = 0;
  }
  if (menuState_ != before) update();
}

void ResponseCurve::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  if (!inputEnabled) return;
  const QPoint at = event->position().toPoint();
  if (menuState_ > 0 && menuEnabled) HoverMenu(at);
  if (Dragging()) {
    DragPointTo(at);
  } else if (const int k = PointAt(at); k >= 0) {
    labelledPoint_ = k;
    setCursor(Qt::PointingHandCursor);
    update();
  } else {
    setCursor(Qt::ArrowCursor);
  }
  if (leftHandleActive_ || rightHandleActive_) ApplyHandleAt(at.x());
}

void ResponseCurve::DragPointTo(QPoint at) {
  const int k = draggedPoint_ - 1;
  const CurveGeometry& g = geometry_;
  // Only a band keeps its column in vertical-only mode; the cut filters have no gain to drag.
  const bool horizontal = !(verticalOnly && IsBand(k));
  if (horizontal) {
    pointX[k] = at.x() - g.plotLeft;
    pointFrequency[k] = SnappedUnlessFree(g.FrequencyAt(pointX[k]));
  }
  const int row = Limit(at.y(), g.plotTop, g.plotBottom());
  int offset = static_cast<int>(row - g.zeroY);
  const bool shelf = pointBandType[k] == kHighShelfBand || pointBandType[k] == kLowShelfBand;
  if (!shelfMayBoost && shelf && offset < 0) offset = 0;
  if (k == kHpfPoint || k == kLpfPoint) {
    const bool hpf = k == kHpfPoint;
    const double lo = hpf ? hpfMinHz : lpfMinHz;
    const double hi = hpf ? hpfMaxHz : lpfMaxHz;
    pointX[k] = Limit(pointX[k], g.ColumnOf(lo), g.ColumnOf(hi));
    pointFrequency[k] = Limit(pointFrequency[k], lo, hi);
    if (cutOrderLock && hpf) {
      pointX[k] = std::min(pointX[k], pointX[kLpfPoint]);
      pointFrequency[k] = std::min(pointFrequency[k], pointFrequency[kLpfPoint]);
    } else if (cutOrderLock) {
      pointX[k] = std::max(pointX[k], pointX[kHpfPoint]);
      pointFrequency[k] = std::max(pointFrequency[k], pointFrequency[kHpfPoint]);
    }
    offset = cutRow;
  } else {
    pointX[k] = Limit(pointX[k], g.ColumnOf(bandMinHz), g.ColumnOf(bandMaxHz));
    pointFrequency[k] = Limit(pointFrequency[k], bandMinHz, bandMaxHz);
    if (pointBandType[k] == 0) offset = 0;
  }
  pointY[k] = offset;
  pointGain[k] = g.GainOfOffset(offset);
  leftHandleActive_ = rightHandleActive_ = false;
  RecomputePoint(k);
  Notify(k);
  repaint();
}

void ResponseCurve::ApplyHandleAt(int pointerX) {
  const int p = selectedPoint_;
  const int index = QIndexAfterHandleMove(handlePressQIndex_, leftHandleActive_, pointerX - handlePressX_);
  // Back where it was pressed, the arrow gives back the Q it found, on the grid or not.
  const double q = index == handlePressQIndex_ ? handlePressQ_ : QStepTable[static_cast<std::size_t>(index)];
  if (q == pointQ[p]) return;
  pointQ[p] = q;
  labelledPoint_ = p;
  RecomputePoint(p);
  Notify(p);
  draggedPoint_ = 0;
  repaint();
}

void ResponseCurve::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (!inputEnabled) return;
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::RightButton) {
    if (menuEnabled) {
      menuState_ = 1;
      copyRect_ = QRect(at, kMenuItemSize);
      pasteRect_ = copyRect_.translated(0, kMenuItemSize.height());
      update();
    }
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  if (leftHandleActive_ || rightHandleActive_) ApplyHandleAt(at.x());
  leftHandleActive_ = rightHandleActive_ = false;
  if (Dragging()) {
    const int k = draggedPoint_ - 1;
    draggedPoint_ = 0;
    pointX[k] = geometry_.ColumnOf(pointFrequency[k]);  // the marker settles on the snapped frequency
    RecomputePoint(k);
  }
  update();
}

void ResponseCurve::StepSelected(bool forward) {
  const int p = selectedPoint_;
  if (IsBand(p)) {
    SetBandGain((pointGain[p] + (forward ? 1 : -1)) / 10.0, p - kFirstBandPoint);
  } else {
    // Forward steps a cut filter's frequency down, on the console's step grid and past the drag limits.
    pointFrequency[p] = StepFrequency(pointFrequency[p], !forward);
    pointX[p] = geometry_.ColumnOf(pointFrequency[p]);
    if (!Dragging()) {
      labelledPoint_ = p;
      RecomputePoint(p);
      update();
    }
  }
  Notify(p);
}

void ResponseCurve::wheelEvent(QWheelEvent* event) {
  event->accept();
  const int delta = event->angleDelta().y();
  if (!inputEnabled || delta == 0) return;  // a sideways turn moves nothing
  StepSelected(delta > 0);
}

void ResponseCurve::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Up && event->key() != Qt::Key_Down) {
    event->ignore();  // the host handles every other key
    return;
  }
  event->accept();
  StepSelected(event->key() == Qt::Key_Up);
}

void ResponseCurve::timerEvent(QTimerEvent* event) {
  if (event->timerId() != animation_.timerId()) {
    QWidget::timerEvent(event);
    return;
  }
  const int shown = animationPhase_;
  animationPhase_ = animationPhase_ % kLastAnimationPhase + 1;
  // Only the selected marker pulses: the rest of the picture stays as it is
  // on screen, and a step to a picture like the one shown needs no repaint.
  const QRect box = MarkerBox(selectedPoint_) & rect();
  if (!pulseCells_.Alike(box, shown, animationPhase_)) update(box);
}

void ResponseCurve::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  recomputeAll_ = true;
  geometry_ = CurveGeometry::ForClient(size(), dbMax, dbMin);
  if (!initialised_) return;
  // The rows keep their share of the plot; a collapsed plot keeps them as they were.
  const int height = geometry_.height;
  if (height > 0 && rowsHeight_ > 0 && height != rowsHeight_) {
    const double ratio = static_cast<double>(height) / rowsHeight_;
    for (int& y : pointY) y = static_cast<int>(y * ratio);
  }
  if (height > 0) rowsHeight_ = height;
  for (int k = 0; k < kCurvePointCount; ++k) pointX[k] = geometry_.ColumnOf(pointFrequency[k]);
  cutRow = static_cast<int>(scale * kUnscaledCutRow);
  pointY[kHpfPoint] = pointY[kLpfPoint] = cutRow;
  RecreateLayers();
  update();
}

}  // namespace rmt4::ui
