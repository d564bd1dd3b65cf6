#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

namespace rmt4::ui {

class OffscreenBuffer;

/// The two pictures a skinned control caches: the host's pixels under it and
/// the composed frame. A repaint is a single copy unless something changed.
class SkinnedFrameCache {
 public:
  /// Something drawn on the control changed (value, caption, focus look).
  void InvalidateFrame() { frameValid_ = false; }
  /// The same, and `control` paints again soon.
  void Redraw(QWidget& control) {
    InvalidateFrame();
    control.update();
  }
  /// A look setter's whole job: stores `value` in `member` and redraws `control`.
  template <typename T>
  void Set(QWidget& control, T& member, const T& value) {
    member = value;
    Redraw(control);
  }
  /// The control moved, resized or got a new skin: copy the host's pixels again.
  void InvalidateBackground() {
    backgroundValid_ = false;
    frameValid_ = false;
  }
  /// The current frame. When invalid it is rebuilt: the host background
  /// (copied again when invalid), and, when `skinVisible`, whatever `compose`
  /// draws over a copy of it.
  [[nodiscard]] const QImage& Frame(const QWidget& control, const OffscreenBuffer* source, int ancestorLevel,
                                    bool skinVisible, const std::function<void(QImage&)>& compose);

 private:
  QImage background_;
  QImage frame_;
  bool backgroundValid_ = false;
  bool frameValid_ = false;
};

}  // namespace rmt4::ui
