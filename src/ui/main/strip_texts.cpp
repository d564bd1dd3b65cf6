#include "ui/main/strip_texts.h"

#include "values/level_table.h"

namespace rmt4::ui {
namespace {

constexpr int kPanCentre = 100;
// Below -40 dB the table steps by 2 dB, so a decimal would only add noise.
constexpr int kFineLevelFrom = 800;
constexpr int kTenthsPerDb = 10;

}  // namespace

QString PanText(int panValue) {
  if (panValue == kPanCentre) return QStringLiteral("L = R");
  if (panValue < kPanCentre) return QString::asprintf("L %d%%", kPanCentre - panValue);
  return QString::asprintf("R %d%%", panValue - kPanCentre);
}

QString LevelText(std::uint16_t levelWord) {
  const int level = levelWord & kLevelMask;
  if (level == 0) return QString::fromUtf8("- \u221E");
  const bool wholeDb = level < kFineLevelFrom && level % kTenthsPerDb == 0;
  return QString::asprintf(wholeDb ? "%0.0fdB" : "%0.1fdB", LevelDb(levelWord));
}

}  // namespace rmt4::ui
