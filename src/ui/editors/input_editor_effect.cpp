// The effect-program panel of the effect returns: the program selector, the
// program name and the two program parameters whose range and texts follow
// the program type the console reports.
#include <algorithm>

#include "ui/controls/skinned_combo_box.h"
#include "ui/controls/skinned_label.h"
#include "ui/controls/skinned_slider.h"
#include "ui/editors/input_editor.h"
#include "ui/editors/input_editor_inventory.h"
#include "values/editor_codes.h"
#include "values/effect_program_values.h"
#include "values/input_editor_conversions.h"

namespace rmt4::ui {
namespace {

using namespace input_editor;

}  // namespace

void InputEditor::FillInitialProgramEntries() { FillProgramEntries(InitialProgramEntries()); }

void InputEditor::FillProgramEntries(const std::vector<std::string>& entries) {
  SkinnedComboBox& programs = combo(kProgramCombo);
  programs.clear();
  for (const std::string& entry : entries) programs.addItem(QString::fromStdString(entry));
}

int InputEditor::ProgramReading() const {
  // A selection before the first entry is drawn as the first entry, so it reads as that one.
  return std::max(0, combo(kProgramCombo).shownIndex()) + 1;
}

void InputEditor::ApplyProgramNumber(int program) {
  FillProgramEntries(ProgramEntries(ProgramListOfChannel(channel_)));
  if (program <= kLastProgram) combo(kProgramCombo).SetSelection(program - 1);
}

void InputEditor::ApplyProgramType(int type) {
  if (!IsKnownProgramType(type)) return;
  programType_ = type;
  label(kProgramNameLabel).SetText(QString::fromStdString(ProgramTypeName(type)));
  const ProgramTypeLook& look = ProgramTypeLookOf(type);
  if (look.parameter1Top) slider(kEffectParameter1Slider).SetMaxValue(*look.parameter1Top);
  slider(kEffectParameter2Slider).SetMaxValue(kProgramParameter2Top);
  RefreshProgramParameterText(editor_code::kEffectParameter1);
  RefreshProgramParameterText(editor_code::kEffectParameter2);
}

void InputEditor::RefreshProgramParameterText(int code) {
  const ProgramTypeLook& look = ProgramTypeLookOf(programType_);
  const bool first = code == editor_code::kEffectParameter1;
  SkinnedSlider& parameter = slider(first ? kEffectParameter1Slider : kEffectParameter2Slider);
  parameter.SetCaption(QString::fromStdString(ProgramParameterText(first ? look.parameter1 : look.parameter2,
                                                                  WholePosition(parameter.GetValue()))));
}

}  // namespace rmt4::ui
