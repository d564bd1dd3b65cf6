#include "ui/controls/band_panel_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace rmt4::ui {
namespace {

constexpr int kBaseWidth = 98;
constexpr int kBaseHeight = 250;

/// Left, top, right and bottom (exclusive) in skin pixels.
struct SkinRect {
  int left, top, right, bottom;
};

constexpr std::array<SkinRect, 3> kFieldRects{{{8, 177, 62, 193}, {8, 202, 62, 218}, {8, 227, 62, 242}}};
constexpr std::array<SkinRect, 3> kTypeButtonRects{{{1, 101, 17, 117}, {1, 131, 17, 147}, {1, 161, 17, 177}}};
constexpr SkinRect kTypeImageRect{1, 101, 17, 177};
constexpr SkinRect kNumberBoxRect{0, 45, 18, 63};

}  // namespace

BandPanelLayout BandPanelLayout::ForSize(QSize size) {
  const int w = size.width();
  const int h = size.height();
  const auto scaled = [w, h](const SkinRect& r) {
    return QRect(QPoint(r.left * w / kBaseWidth, r.top * h / kBaseHeight),
                 QPoint(r.right * w / kBaseWidth - 1, r.bottom * h / kBaseHeight - 1));
  };
  BandPanelLayout layout;
  layout.axisX = 80 * w / kBaseWidth;
  layout.yAtMin = 209 * h / kBaseHeight;
  layout.yAtMax = 40 * h / kBaseHeight;
  layout.thumbW = 16 * w / kBaseWidth;
  layout.thumbH = 26 * h / kBaseHeight;
  std::ranges::transform(kFieldRects, layout.fields.begin(), scaled);
  std::ranges::transform(kTypeButtonRects, layout.typeButtons.begin(), scaled);
  layout.typeImage = scaled(kTypeImageRect);
  layout.numberBox = scaled(kNumberBoxRect);
  layout.numberFontSize = w * 12 / kBaseWidth;
  return layout;
}

int BandPanelLayout::GainY(double gain, const GainRange& gains) const {
  const double g = std::clamp(gain, gains.min, gains.max);
  return static_cast<int>(yAtMin - (g - gains.min) * (yAtMin - yAtMax) / (gains.max - gains.min) + 0.5);
}

double BandPanelLayout::GainAtY(int y, const GainRange& gains) const {
  if (yAtMin == yAtMax) return gains.min;
  const double g = gains.max - (gains.max - gains.min) * (y - yAtMax) / (yAtMin - yAtMax);
  return std::clamp(std::trunc(10.0 * g) / 10.0, gains.min, gains.max);
}

bool BandPanelLayout::OnThumb(QPoint at, int gainY) const {
  return std::abs(at.y() - gainY) <= thumbH / 2 && std::abs(at.x() - axisX) <= thumbW / 2;
}

bool BandPanelLayout::InThumbTravel(QPoint at) const {
  return std::abs(at.x() - axisX) <= thumbW / 2 && at.y() >= yAtMax - thumbH / 2 && at.y() <= yAtMin + thumbH / 2;
}

}  // namespace rmt4::ui
