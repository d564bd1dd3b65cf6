#pragma once

#include <QString>

namespace rmt4::ui {

/// What the response-curve editor's caption says about one point.
struct CurveCaptionValues {
  bool cutFilter = false;  ///< the HPF or LPF point: frequency only
  bool hasQ = true;
  double hz = 1000.0;
  double q = 1.5;
  int gainTenths = 0;
  /// Free frequencies never show a decimal.
  bool freeFrequency = false;
};

/// "F:1020 Q:1.50 G:0.0", "F:99.5" or "F:OFF" (a cut filter outside 19.7 Hz .. below 20600 Hz).
[[nodiscard]] QString CurveCaptionText(const CurveCaptionValues& values);

/// Axis label of a level in dB: "+12", "0", "-12", "-24".
[[nodiscard]] QString CurveLevelLabel(double db);

}  // namespace rmt4::ui
