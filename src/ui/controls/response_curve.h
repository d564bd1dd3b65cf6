#pragma once

#include <QBasicTimer>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPolygon>
#include <QRect>
#include <QSizeF>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "dsp/cut_catalogue.h"
#include "ui/controls/pulse_cells.h"
#include "ui/controls/response_curve_geometry.h"
#include "ui/controls/response_curve_sprites.h"
#include "ui/platform/window_message.h"

class QPainter;

namespace rmt4::ui {

/// The response-curve editor at the top of the channel editor frame: the
/// high-pass filter, the low-pass filter and up to thirteen EQ bands on a log
/// axis from 19 Hz to 20.6 kHz against +12 .. −24 dB, each filter's own
/// response and the combined curve. The user drags points (frequency and
/// gain), drags the selected band's two Q arrows, steps values with the wheel
/// and the Up/Down keys, and picks "Copy" or "Paste" from the right-button
/// menu. Every such change is sent synchronously to the parent as a window
/// message numbered by the control identifier (wParam 1 HPF, 2 LPF, 0 band
/// with lParam the band 0..12; 3 Copy, 4 Paste); the host then reads the
/// public arrays. The host's setters never report back.
///
/// Points: 0 HPF, 1 LPF, 2..14 bands 1..13 (band number = point − 2).
/// Typical host sequence: construct, Initialise, set limits, enable points,
/// setters, SetActive(1) when shown.
class ResponseCurve : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kHpfPoint = 0;
  static constexpr int kLpfPoint = 1;
  static constexpr int kFirstBandPoint = 2;
  static constexpr int kBandCount = kCurvePointCount - kFirstBandPoint;

  /// wParam of the notifications.
  enum Notice : int { kBandNotice = 0, kHpfNotice = 1, kLpfNotice = 2, kCopyNotice = 3, kPasteNotice = 4 };

  template <typename T>
  using PointArray = std::array<T, kCurvePointCount>;

  explicit ResponseCurve(QWidget* parent, int controlId = kCurveEdited);

  /// Lays the 15 points out evenly at the current width, draws the sprites and
  /// the grid. Call once right after creation.
  void Initialise();

  // The setters store a device value, select and label its point and redraw
  // it, except while the user drags a point (then they only store). Bands
  // and cut-filter indices out of range are ignored; NaN reads as the
  // lower limit (frequencies) or 0 dB.

  /// Frequency of band 0..12, limited to bandMinHz..bandMaxHz and snapped unless freeFrequency.
  void SetBandFrequency(double hz, int band);
  /// Q of band 0..12, limited to 0.4..128 and snapped.
  void SetBandQ(double q, int band);
  /// Gain of band 0..12 in dB, limited to the axis.
  void SetBandGain(double db, int band);
  /// which 0: HPF, 1: LPF; limited to that filter's range, not snapped.
  void SetCutFrequency(double hz, int which);
  /// Even codes 8–30 and 40–68 set the HPF type, odd codes 9–31 and 41–69
  /// the LPF type; other codes (0 "Bypass" among them) are ignored.
  void SetCutType(int code);
  /// false shows "EQ PASS" over the plot.
  void SetEqActive(bool active);
  /// 0: host hidden, the pulsing stops; 1: host shown, the pulsing starts and
  /// band 1 is selected; 2: the pulsing starts alone.
  void SetActive(int mode);
  /// Composes a frame and draws it into the host's picture at the editor's
  /// place in its parent.
  void PaintInto(QPainter& parentPainter);

  // Points, written by Initialise, the setters and the user.
  PointArray<std::uint8_t> pointEnabled{};  ///< drawn, hit-tested and summed
  PointArray<int> pointX{};                 ///< marker column from the plot's left edge
  PointArray<int> pointY{};                 ///< marker offset below the 0-dB row
  PointArray<double> pointFrequency{};      ///< Hz
  PointArray<double> pointQ{};
  PointArray<int> pointGain{};  ///< tenths of a dB
  PointArray<std::uint8_t> pointHasQ{};
  /// 5 high shelf, 6 low shelf, 7 (or any other) peaking; 0 keeps the band on the 0-dB line when dragged.
  PointArray<int> pointBandType{};
  CutTypeCode hpfTypeCode = 8;
  CutTypeCode lpfTypeCode = 9;

  // Configuration. The host sets the six limits and menuEnabled.
  double hpfMinHz = 19.0;
  double hpfMaxHz = 20600.0;  ///< also where the HPF switches off
  double lpfMinHz = 19.0;
  double lpfMaxHz = 20600.0;  ///< also where the LPF switches off
  double bandMinHz = 19.7;
  double bandMaxHz = 20600.0;
  bool menuEnabled = false;
  bool inputEnabled = true;
  bool showEditingAids = true;  ///< markers, Q arrows, the selected point's shaded area
  bool showQHandles = true;
  bool eqActive = true;
  bool freeFrequency = false;  ///< frequencies are not snapped to the step table
  bool shelfMayBoost = true;
  bool verticalOnly = false;  ///< dragging a band changes only its gain
  bool cutOrderLock = false;  ///< the HPF stays at or below the LPF
  int dbMax = 120;            ///< tenths of a dB; read at each resize
  int dbMin = -240;
  double scale = 1.0;  ///< caption size and the cut filters' row (80·scale), read at each resize
  QColor curveColour = QColor::fromRgba(0xFF00FF00);
  QColor gridColour = QColor::fromRgba(0xFF616161);
  QColor textColour = QColor::fromRgba(0xFFFFFFFF);
  QImage backgroundImage;  ///< stretched under the grid instead of black
  int cutRow = 80;

  // Interaction state.
  [[nodiscard]] int selectedPoint() const { return selectedPoint_; }
  [[nodiscard]] int labelledPoint() const { return labelledPoint_; }
  /// 0 none, else point + 1.
  [[nodiscard]] int draggedPoint() const { return draggedPoint_; }
  [[nodiscard]] bool leftHandleActive() const { return leftHandleActive_; }
  [[nodiscard]] bool rightHandleActive() const { return rightHandleActive_; }
  [[nodiscard]] int animationPhase() const { return animationPhase_; }
  /// 0 hidden, 1 "Copy" highlighted, 2 "Paste" highlighted.
  [[nodiscard]] int menuState() const { return menuState_; }
  [[nodiscard]] QRect copyRect() const { return copyRect_; }
  [[nodiscard]] QRect pasteRect() const { return pasteRect_; }
  [[nodiscard]] bool animating() const { return animation_.isActive(); }
  [[nodiscard]] const CurveGeometry& geometry() const { return geometry_; }
  /// The row of the point recomputed last and the sum of the enabled points' rows, truncated.
  [[nodiscard]] std::span<const int> selectedCurve() const { return selectedCurve_; }
  [[nodiscard]] std::span<const int> totalCurve() const { return totalCurve_; }
  /// The caption text of `point` as it would be drawn.
  [[nodiscard]] QString CaptionOf(int point) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  [[nodiscard]] static bool IsBand(int point) { return point >= kFirstBandPoint; }
  [[nodiscard]] bool Dragging() const { return draggedPoint_ != 0; }
  [[nodiscard]] QPoint MarkerCentre(int point) const;
  /// The cell a point's marker sprite is drawn in.
  [[nodiscard]] QRect MarkerBox(int point) const;
  /// The first enabled point whose 24-px box holds `at`, or −1.
  [[nodiscard]] int PointAt(QPoint at) const;
  [[nodiscard]] double SnappedUnlessFree(double hz) const;

  /// Selects, labels and redraws `point` after a setter, unless a drag runs.
  void ShowSetPoint(int point);
  /// Recomputes `point`'s response and sums the total again.
  void RecomputePoint(int point);
  void RecomputeAllPoints();
  void SumTotal();
  void Notify(int point);
  void NotifyMenu(Notice item);

  void DragPointTo(QPoint at);
  /// Moves the selected band's Q by the pressed arrow's travel from where it
  /// was pressed to client x `pointerX`; reports only a Q that changed.
  void ApplyHandleAt(int pointerX);
  void StepSelected(bool forward);
  void HoverMenu(QPoint at);
  bool PressHandle(QPoint at);

  // Drawing (response_curve_paint.cpp).
  void RecreateLayers();
  void DrawGridLayer();
  /// Brings `region` of the frame up to date: the pulsing marker's box alone
  /// from the pictures kept of it where it can, else by Compose.
  void ComposeRegion(const QRegion& region);
  /// Redraws `area` of the frame; the rest keeps what was composed before.
  void Compose(const QRect& area);
  void DrawShadedArea(QPainter& painter);
  /// A 2-px anti-aliased line along `points` (closed: back to the first point).
  void StrokeTwoPixels(QPainter& painter, const QPolygon& points, const QColor& colour, bool closed);
  void DrawQHandles(QPainter& painter) const;
  void DrawMarkers(QPainter& painter) const;
  /// The labelled point's caption, when it reaches into `area`.
  void DrawCaption(QPainter& painter, const QRect& area);
  void DrawMenu(QPainter& painter) const;

  int controlId_;
  bool initialised_ = false;
  CurveGeometry geometry_;
  /// The plot height the rows in pointY were laid out for (the last positive one).
  int rowsHeight_ = 0;

  int selectedPoint_ = 0;
  int labelledPoint_ = 0;
  int draggedPoint_ = 0;
  bool leftHandleActive_ = false;
  bool rightHandleActive_ = false;
  /// Where the active arrow was pressed, the Q then and its QStepTable index.
  int handlePressX_ = 0;
  double handlePressQ_ = 0.0;
  int handlePressQIndex_ = 0;
  int animationPhase_ = 0;
  bool recomputeAll_ = true;
  bool gridValid_ = false;
  int menuState_ = 0;
  QRect copyRect_;
  QRect pasteRect_;
  QBasicTimer animation_;
  PulseCells pulseCells_;

  PointArray<std::vector<double>> responses_;
  std::vector<int> selectedCurve_;
  std::vector<int> totalCurve_;
  std::vector<double> totalSum_;
  // Reused for every curve drawn, so that a frame allocates nothing.
  QPolygon polyline_;
  QPolygon shadedArea_;
  QPolygonF smoothArea_;
  QPolygonF strokeSide_;

  QImage markerSheet_;
  QImage arrowSheet_;
  QImage passCaption_;
  // The caption's font and measured size, kept while the scale and the text
  // stay: the pulse repaints 10 times a second and shaping text is its dearest step.
  QFont captionFont_;
  double captionFontScale_ = 0.0;
  QString captionText_;
  QSizeF captionSize_;
  QImage gridLayer_;
  /// The curve layer, which is also the copy of the last composed frame.
  QImage frame_;
};

}  // namespace rmt4::ui
