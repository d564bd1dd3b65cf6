#pragma once

#include <QImage>
#include <QWidget>

namespace rmt4::ui {

class OffscreenBuffer;

/// Which ancestor's client coordinates place a control inside its host's
/// background buffer: 1 the parent, 2 the top-level window, 3 the top-level
/// window's owner (the top-level window itself here).
enum class AncestorLevel : int { Parent = 1, TopLevel = 2, Owner = 3 };

/// The pixels of `source` under `control` (at the control's size), so that a
/// skinned control can draw itself over its host's picture; light grey
/// (240,240,240) without a source or where the source does not reach.
[[nodiscard]] QImage CopyHostBackground(const QWidget& control, const OffscreenBuffer* source, int ancestorLevel);

}  // namespace rmt4::ui
