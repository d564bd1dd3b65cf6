#include "ui/main/strip_texts.h"

#include "values/level_table.h"

namespace rmt4::ui {
namespace {

constexpr int kPanCentre = 100;
constexpr int kZeroDbLevel = 1200;
// Below -40 dB the table steps by 2 dB, so a decimal would only add noise.
constexpr int kFineLevelFrom = 800;

}  // namespace

QString PanText(int panValue) {
  if (panValue == kPanCentre) return QStringLiteral("L = R");
  if (panValue < kPanCentre) return QString::asprintf("L %d%%", kPanCentre - panValue);
  return QString::asprintf("R %d%%", panValue - kPanCentre);
}

QString LevelText(double faderStep) {
  if (faderStep <= 0.0) return QString::fromUtf8("- \u221E");
  const int raw = LevelAtStep(static_cast<int>(faderStep));
  const double db = (raw - kZeroDbLevel) / 10.0;
  return QString::asprintf(raw < kFineLevelFrom ? "%0.0fdB" : "%0.1fdB", db);
}

}  // namespace rmt4::ui
