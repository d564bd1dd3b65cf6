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
  switch (code) {
    case output_code::kLeftDelay:
    case output_code::kDelay:
    case output_code::kRightDelay:
      return DelayRaw(SliderOfCode(code)->GetValue());
    case output_code::kThreshold:
    case output_code::kAttack:
    case output_code::kRelease:
      return TenthsRaw(SliderOfCode(code)->GetValue());
    case output_code::kRatio:
      return RatioRaw(slider(kRatioSlider).GetValue(), ButtonPressed(kCompressorButton));
    case output_code::kFeedbackSuppressor:
      return FeedbackSuppressorRaw(slider(kFeedbackSuppressorSlider).GetValue());
    default:
      return 0;
  }
}

void OutputEditor::ApplyValue(int code, int raw) {
  if (ApplyEqSection(code, raw)) return;
  switch (code) {
    case output_code::kLeftDelay:
    case output_code::kDelay:
    case output_code::kRightDelay:
      SliderOfCode(code)->SetValue(DelayPosition(raw));
      break;
    case output_code::kThreshold:
    case output_code::kAttack:
    case output_code::kRelease:
      SliderOfCode(code)->SetValue(TenthsPosition(raw));
      break;
    case output_code::kRatio: {
      const RatioState state = RatioStateOf(raw);
      ShowPressed(kCompressorButton, state.compressorOff);
      // A ratio above the table leaves the slider where it is.
      if (state.position) slider(kRatioSlider).SetValue(*state.position);
      break;
    }
    case output_code::kFeedbackSuppressor:
      slider(kFeedbackSuppressorSlider).SetValue(FeedbackSuppressorPosition(raw));
      break;
    default:
      return;
  }
  RefreshText(code);
}

}  // namespace rmt4::ui
