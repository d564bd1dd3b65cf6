#pragma once

#include <array>
#include <functional>
#include <optional>

class QWidget;

namespace rmt4::ui {

class EditorPanel;

/// The four panels the channel editor frame shows, one at a time, by channel kind.
enum class PanelKind : int { Channel, EffectReturn, MainOutput, AuxOutput };
inline constexpr int kPanelKindCount = 4;

/// The kind of editor channel `channel` (0..18); none above 18.
[[nodiscard]] std::optional<PanelKind> PanelKindOf(int channel);
/// The channel a panel of `kind` carries when created.
[[nodiscard]] int FirstChannelOf(PanelKind kind);

/// The frame's panels by kind; a kind without a panel yet is null, and its
/// channels are not opened.
using EditorPanels = std::array<EditorPanel*, kPanelKindCount>;

/// Makes the panels as children of `frame`.
using EditorPanelFactory = std::function<EditorPanels(QWidget* frame)>;

/// The panels built so far (the frame's default factory).
[[nodiscard]] EditorPanels MakeEditorPanels(QWidget* frame);

}  // namespace rmt4::ui
