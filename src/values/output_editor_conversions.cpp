#include "values/output_editor_conversions.h"

#include <algorithm>

#include "i18n/label_id.h"
#include "i18n/label_text.h"
#include "values/input_editor_conversions.h"
#include "values/label_format.h"

namespace rmt4 {

int FeedbackSuppressorRaw(double position) {
  return std::clamp(WholePosition(position), 0, kFeedbackSuppressorTop);
}

double FeedbackSuppressorPosition(int raw) { return std::clamp(raw, 0, kFeedbackSuppressorTop); }

std::string FeedbackSuppressorText(double position) {
  const int strength = WholePosition(position);
  std::string text(LabelText(LabelId::Febk));
  return strength <= 0 ? text + ":OFF" : text + ":FB" + std::to_string(strength);
}

std::string LeftDelayText(double position) { return FormatLabel(LabelId::LeftDelayFormat, position / 10); }
std::string RightDelayText(double position) { return FormatLabel(LabelId::RightDelayFormat, position / 10); }

}  // namespace rmt4
