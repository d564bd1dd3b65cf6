// The output editor's texts in the current language.
#include "i18n/label_id.h"
#include "ui/controls/skinned_button.h"
#include "ui/controls/skinned_label.h"
#include "ui/controls/skinned_slider.h"
#include "ui/editors/output_editor.h"
#include "ui/editors/output_editor_inventory.h"
#include "ui/platform/translated.h"
#include "values/editor_codes.h"
#include "values/input_editor_conversions.h"
#include "values/output_editor_conversions.h"

namespace rmt4::ui {

using namespace output_editor;

void OutputEditor::RefreshText(int code) {
  if (RefreshEqSectionText(code) || RefreshCompressorSectionText(code)) return;
  switch (code) {
    case output_code::kLeftDelay:
      ShowCaption(slider(kLeftDelaySlider), LeftDelayText);
      break;
    case output_code::kDelay:
      ShowCaption(slider(kDelaySlider), DelayText);
      break;
    case output_code::kRightDelay:
      ShowCaption(slider(kRightDelaySlider), RightDelayText);
      break;
    case output_code::kFeedbackSuppressor:
      ShowCaption(slider(kFeedbackSuppressorSlider), FeedbackSuppressorText);
      break;
    case editor_code::kCaptions:
      RefreshCaptions();
      break;
    default:
      break;  // the band panels draw their own values; the type boxes show their item
  }
}

void OutputEditor::RefreshCaptions() {
  RefreshEqCaptions();
  label(kCompTitle).SetText(Translated(LabelId::Comp));
}

}  // namespace rmt4::ui
