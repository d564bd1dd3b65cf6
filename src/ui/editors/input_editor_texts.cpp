// The editor's texts in the current language.
#include "i18n/label_id.h"
#include "i18n/label_text.h"
#include "ui/controls/skinned_button.h"
#include "ui/controls/skinned_label.h"
#include "ui/controls/skinned_slider.h"
#include "ui/editors/input_editor.h"
#include "ui/editors/input_editor_inventory.h"
#include "ui/platform/translated.h"
#include "values/editor_codes.h"
#include "values/input_editor_conversions.h"

namespace rmt4::ui {
namespace {

using namespace input_editor;

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

constexpr int kAuxCount = 6;

}  // namespace

void InputEditor::RefreshText(int code) {
  if (code >= editor_code::kMainSend && code < editor_code::kAux1Send + kAuxCount) {
    RefreshSendText(code);
    return;
  }
  if (RefreshEqSectionText(code) || RefreshCompressorSectionText(code)) return;
  switch (code) {
    case editor_code::kDelay:
      ShowCaption(slider(kDelaySlider), DelayText);
      break;
    case editor_code::kGain:
      ShowCaption(slider(kGainSlider), GainText);
      break;
    case editor_code::kNoiseGate:
      ShowCaption(slider(kNoiseGateSlider), NoiseGateText);
      break;
    case editor_code::kEffectParameter1:
    case editor_code::kEffectParameter2:
      RefreshProgramParameterText(code);
      break;
    case editor_code::kCaptions:
      RefreshCaptions();
      break;
    default:
      break;  // the band panels draw their own values; the type boxes show their item
  }
}

void InputEditor::RefreshSendText(int code) {
  if (code == editor_code::kMainSend) {
    slider(kMainSendSlider)
        .SetCaption(FromStd(SendText(LabelText(LabelId::MainSend), 0, slider(kMainSendSlider).GetValue())));
  } else if (code < editor_code::kAux1Send) {
    const int number = code - editor_code::kEfx1Send + 1;
    SkinnedSlider& send = slider(kEfx1Slider + number - 1);
    send.SetCaption(FromStd(SendText(LabelText(LabelId::Efx), number, send.GetValue())));
  } else {
    const int aux = code - editor_code::kAux1Send;
    SkinnedSlider& send = slider(kFirstAuxSlider + aux);
    send.SetCaption(FromStd(SendText(LabelText(LabelId::Aux), aux + 1, send.GetValue())));
    const int prePost = kFirstPrePostButton + aux;
    button(prePost).SetText(Translated(ButtonPressed(prePost) ? LabelId::Post : LabelId::Pre));
  }
}

void InputEditor::RefreshCaptions() {
  button(kSaveButton).SetText(Translated(LabelId::Save));
  RefreshEqCaptions();
  label(kSendTitle).SetText(Translated(LabelId::Send));
  label(kCompTitle).SetText(Translated(LabelId::Comp));
  label(kEfxModeTitle).SetText(Translated(LabelId::EfxMode));
  label(kProgramNameLabel).SetText(Translated(LabelId::PresetMode));
}

}  // namespace rmt4::ui
