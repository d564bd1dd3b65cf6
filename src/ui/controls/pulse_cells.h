#pragma once

#include <QImage>
#include <QRect>

#include <array>

#include "ui/controls/response_curve_sprites.h"

namespace rmt4::ui {

/// The composed pictures of a pulsing marker's box, one for each phase of the
/// pulse, kept while nothing else in the picture changes: after one round
/// the pulse copies them instead of composing the curves again, and knows
/// which steps change nothing on screen.
class PulseCells {
 public:
  static constexpr int kPhases = kCurveMarkerFrames;

  /// Forgets every picture: the frame around the box has changed.
  void Clear();
  /// The picture of `box` at `phase`, or nullptr when none is kept for them.
  [[nodiscard]] const QImage* Find(const QRect& box, int phase) const;
  /// Keeps `cell`, the picture of `box` at `phase`; pictures of another box go.
  void Keep(const QRect& box, int phase, QImage cell);
  /// Both phases of `box` are kept and the same pixel for pixel.
  [[nodiscard]] bool Alike(const QRect& box, int first, int second) const;

 private:
  [[nodiscard]] static bool ValidPhase(int phase) { return phase >= 0 && phase < kPhases; }

  QRect box_;
  std::array<QImage, kPhases> cells_;
};

}  // namespace rmt4::ui
