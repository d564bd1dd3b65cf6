#include "ui/editors/input_editor.h"

#include "ui/controls/skinned_slider.h"
#include "ui/editors/input_editor_inventory.h"
#include "values/editor_codes.h"
#include "values/input_editor_conversions.h"

namespace rmt4::ui {
namespace {

using namespace input_editor;

// Panel 1 (x 0..764): EQ, filters, gain; panel 2 (764..1213): sends; panel 3 (1213..1445): compressor.
const std::vector<BackgroundSlice> kBackgroundSlices{
    {0, 1, 200}, {200, 10, 200}, {400, 10, 200}, {600, 69, 165}, {764, 1, 230}, {994, 12, 221}, {1213, 1, 232},
};

constexpr EditorInventory kInventory{kInputEditorLabels, kInputEditorButtons, kInputEditorCombos, kInputEditorSliders,
                                     kBandCount,        editor_code::kThreshold};

}  // namespace

InputEditor::InputEditor(QWidget* parent, InputEditorRole role)
    : ScrollingEditor(parent, kContentSize, kBackgroundSlices, kInventory), role_(role) {
  HideForRole(role);
  // End on the gain stops at 0 dB: the top, +10 dB, is too loud to reach by one key.
  slider(kGainSlider).SetEndKeyTop(kGainUnityStep);
  FillInitialProgramEntries();
  Initialise();
}

void InputEditor::HideForRole(InputEditorRole role) {
  const auto hide = [this](InputEditorControl kind, std::initializer_list<int> indices) {
    for (const int index : indices) SetControlShown(kind, index, false);
  };
  if (role == InputEditorRole::kInputChannels) {
    hide(InputEditorControl::kLabel, {kEfxModeTitle, kProgramNameLabel});
    hide(InputEditorControl::kSlider, {kMainSendSlider, kEffectParameter1Slider, kEffectParameter2Slider});
    hide(InputEditorControl::kButton, {kSaveButton});
    hide(InputEditorControl::kCombo, {kProgramCombo});
  } else {
    hide(InputEditorControl::kLabel, {kCompTitle});
    // The returns have no noise gate: the slider would edit nothing.
    hide(InputEditorControl::kSlider, {kDelaySlider, kGainSlider, kNoiseGateSlider, kEfx1Slider, kEfx1Slider + 1, kThresholdSlider,
                                       kThresholdSlider + 1, kThresholdSlider + 2, kRatioSlider});
    hide(InputEditorControl::kButton, {kCompressorButton});
  }
}

bool InputEditor::Shown(EditorControlKind kind, std::size_t index) const {
  if (kind == InputEditorControl::kSlider && withoutDelayAndGain_ && (index == kDelaySlider || index == kGainSlider)) {
    return false;
  }
  return ScrollingEditor::Shown(kind, index);
}

QPoint InputEditor::SliderPosition(std::size_t index) const {
  // The Main send shares AUX1's nominal place; the returns have no effect
  // sends, so it takes the row of those instead and both stay usable.
  if (index == kMainSendSlider && role_ == InputEditorRole::kEffectReturns) {
    return kInputEditorSliders[kEfx1Slider].position;
  }
  return ScrollingEditor::SliderPosition(index);
}

void InputEditor::SetChannel(int channel) {
  channel_ = channel;
  // Channels 10 and up belong to the effect-return instance, which has no delay or gain anyway.
  withoutDelayAndGain_ = channel == kSt910Channel || channel == kDigitalChannel;
  UpdateVisibility();
}

std::vector<int> InputEditor::LoadOrder() const {
  std::vector<int> order;
  for (int band = 0; band < kBandCount; ++band) {
    order.insert(order.end(),
                 {editor_code::kBandFrequency + band, editor_code::kBandQ + band, editor_code::kBandGain + band});
  }
  const bool returns = role_ == InputEditorRole::kEffectReturns;
  if (!returns) {
    order.insert(order.end(), {editor_code::kThreshold, editor_code::kAttack, editor_code::kRelease,
                               editor_code::kRatio, editor_code::kDelay, editor_code::kGain, editor_code::kNoiseGate});
  }
  order.insert(order.end(),
               {editor_code::kHpfType, editor_code::kLpfType, editor_code::kHpfFrequency, editor_code::kLpfFrequency});
  if (!returns) order.insert(order.end(), {editor_code::kEfx1Send, editor_code::kEfx2Send});
  for (int aux = 0; aux < 6; ++aux) order.push_back(editor_code::kAux1Send + aux);
  order.push_back(editor_code::kEqOn);
  // The type comes before its parameters: it sets their ranges and texts.
  if (returns) {
    order.insert(order.end(), {editor_code::kMainSend, editor_code::kEffectProgram, editor_code::kEffectProgramType,
                               editor_code::kEffectParameter1, editor_code::kEffectParameter2});
  }
  return order;
}

}  // namespace rmt4::ui
