#include "ui/editors/editor_panels.h"

#include "ui/editors/input_editor.h"
#include "ui/editors/output_editor.h"
#include "ui/editors/output_editor_inventory.h"
#include "values/editor_codes.h"

namespace rmt4::ui {

std::optional<PanelKind> PanelKindOf(int channel) {
  if (channel < 0 || channel > kLastEditorChannel) return std::nullopt;
  if (channel < kFx1Channel) return PanelKind::Channel;
  if (channel < kMainChannel) return PanelKind::EffectReturn;
  if (channel == kMainChannel) return PanelKind::MainOutput;
  return PanelKind::AuxOutput;
}

int FirstChannelOf(PanelKind kind) {
  static constexpr std::array<int, kPanelKindCount> kFirst{0, kFx1Channel, kMainChannel, kAux1Channel};
  return kFirst[static_cast<std::size_t>(kind)];
}

namespace {

/// An output editor without the sliders its buses lack.
OutputEditor* MakeOutputEditor(QWidget* frame, PanelKind kind, std::initializer_list<int> absentSliders) {
  auto* editor = new OutputEditor(frame, FirstChannelOf(kind));
  for (const int index : absentSliders) editor->SetControlShown(EditorControlKind::kSlider, index, false);
  return editor;
}

}  // namespace

EditorPanels MakeEditorPanels(QWidget* frame) {
  using namespace output_editor;
  EditorPanels panels{};
  const auto addInputEditor = [&](PanelKind kind, InputEditorRole role) {
    auto* editor = new InputEditor(frame, role);
    editor->SetChannel(FirstChannelOf(kind));
    panels[static_cast<std::size_t>(kind)] = editor;
  };
  addInputEditor(PanelKind::Channel, InputEditorRole::kInputChannels);
  addInputEditor(PanelKind::EffectReturn, InputEditorRole::kEffectReturns);
  panels[static_cast<std::size_t>(PanelKind::MainOutput)] =
      MakeOutputEditor(frame, PanelKind::MainOutput, {kDelaySlider, kFeedbackSuppressorSlider});
  panels[static_cast<std::size_t>(PanelKind::AuxOutput)] =
      MakeOutputEditor(frame, PanelKind::AuxOutput, {kLeftDelaySlider, kRightDelaySlider});
  return panels;
}

}  // namespace rmt4::ui
