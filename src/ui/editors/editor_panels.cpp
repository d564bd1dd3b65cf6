#include "ui/editors/editor_panels.h"

#include "ui/editors/input_editor.h"
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

EditorPanels MakeEditorPanels(QWidget* frame) {
  // The output editors join here as they are built.
  EditorPanels panels{};
  const auto add = [&](PanelKind kind, InputEditorRole role) {
    auto* editor = new CWinInPut(frame, role);
    editor->SetChannel(FirstChannelOf(kind));
    panels[static_cast<std::size_t>(kind)] = editor;
  };
  add(PanelKind::Channel, InputEditorRole::kInputChannels);
  add(PanelKind::EffectReturn, InputEditorRole::kEffectReturns);
  return panels;
}

}  // namespace rmt4::ui
