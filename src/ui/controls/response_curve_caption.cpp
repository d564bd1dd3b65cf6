#include "ui/controls/response_curve_caption.h"

namespace rmt4::ui {
namespace {

constexpr double kCutOnMinHz = 19.7;
constexpr double kCutOffHz = 20600.0;
/// Below it frequencies carry tenths of a hertz.
constexpr double kTenthsBelowHz = 100.0;

}  // namespace

QString CurveCaptionText(const CurveCaptionValues& v) {
  if (v.cutFilter && (v.hz < kCutOnMinHz || v.hz >= kCutOffHz)) return QStringLiteral("F:OFF");
  const int decimals = v.hz < kTenthsBelowHz && !v.freeFrequency ? 1 : 0;
  QString text = QStringLiteral("F:") + QString::number(v.hz, 'f', decimals);
  if (v.cutFilter) return text;
  if (v.hasQ) text += QStringLiteral(" Q:") + QString::number(v.q, 'f', 2);
  return text + QStringLiteral(" G:") + QString::number(v.gainTenths / 10.0, 'f', 1);
}

QString CurveLevelLabel(double db) {
  return (db > 0 ? QStringLiteral("+") : QString()) + QString::number(db, 'f', 0);
}

}  // namespace rmt4::ui
