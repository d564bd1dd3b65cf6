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
CWinOutPut* MakeOutputEditor(QWidget* frame, PanelKind kind, std::initializer_list<int> absentSliders) {
  auto* editor = new CWinOutPut(frame, FirstChannelOf(kind));
  for (const int index : absentSliders) editor->SetControlShown(EditorControlKind::kSlider, index, false);
  return editor;
}

}  // namespace

EditorPanels MakeEditorPanels(QWidget* frame) {
  using namespace output_editor;
  // The effect-return editor joins here when it is built.
  EditorPanels panels{};
  auto* channels = new CWinInPut(frame, InputEditorRole::kInputChannels);
  channels->SetChannel(FirstChannelOf(PanelKind::Channel));
  panels[static_cast<std::size_t>(PanelKind::Channel)] = channels;
  panels[static_cast<std::size_t>(PanelKind::MainOutput)] =
      MakeOutputEditor(frame, PanelKind::MainOutput, {kDelaySlider, kFeedbackSuppressorSlider});
  panels[static_cast<std::size_t>(PanelKind::AuxOutput)] =
      MakeOutputEditor(frame, PanelKind::AuxOutput, {kLeftDelaySlider, kRightDelaySlider});
  return panels;
}

}  // namespace rmt4::ui
