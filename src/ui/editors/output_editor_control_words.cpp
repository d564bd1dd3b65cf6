// The output editor's controls as raw parameter words, both ways.
#include "values/output_editor_conversions.h"

#include "ui/controls/skinned_slider.h"
#include "ui/editors/output_editor.h"
#include "ui/editors/output_editor_inventory.h"
#include "values/editor_codes.h"
#include "values/input_editor_conversions.h"

namespace rmt4::ui {

using namespace output_editor;

int OutputEditor::ReadControl(int code) const {
  if (const std::optional<int> eq = ReadEqSection(code)) return *eq;
  if (const std::optional<int> compressor = ReadCompressorSection(code)) return *compressor;
  switch (code) {
    case output_code::kLeftDelay:
    case output_code::kDelay:
    case output_code::kRightDelay:
      return DelayRaw(SliderOfCode(code)->GetValue());
    case output_code::kFeedbackSuppressor:
      return FeedbackSuppressorRaw(slider(kFeedbackSuppressorSlider).GetValue());
    default:
      return 0;
  }
}

void OutputEditor::ApplyValue(int code, int raw) {
  if (ApplyEqSection(code, raw) || ApplyCompressorSection(code, raw)) return;
  switch (code) {
    case output_code::kLeftDelay:
    case output_code::kDelay:
    case output_code::kRightDelay:
      SliderOfCode(code)->SetValue(DelayPosition(raw));
      break;
    case output_code::kFeedbackSuppressor:
      slider(kFeedbackSuppressorSlider).SetValue(FeedbackSuppressorPosition(raw));
      break;
    default:
      return;
  }
  RefreshText(code);
}

}  // namespace rmt4::ui
