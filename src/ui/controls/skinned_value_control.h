#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <optional>

#include "ui/controls/skinned_frame_cache.h"

namespace rmt4::ui {

class OffscreenBuffer;

/// What the slider and the fader share: a skin from the numbered images
/// drawn over the host's pixels, a value the user changes by dragging, the
/// wheel and the keys (arrows a step, Page Up/Down ten steps, Home the
/// bottom, End the top or the host's safe top), one message to the parent
/// for every such change, and the keyboard focus by Tab or click with its
/// mark. Each subclass keeps its own value, its style table, its layout
/// and its drawing.
class SkinnedValueControl : public QWidget {
  Q_OBJECT

 public:
  /// Hides the control: only the host background is drawn and input is
  /// ignored. Hiding ends a drag in progress.
  void SetSkinVisible(bool visible);
  /// 1: the control is located in its parent's buffer; 2: in the top-level window's (default).
  void SetAncestorLevel(int level);

  [[nodiscard]] bool dragging() const { return dragging_; }
  [[nodiscard]] bool skinVisible() const { return skinVisible_; }
  /// Where End takes the value, for a control whose top is too loud to reach
  /// by one key (a level fader stops at 0 dB); the range's top when not set.
  void SetEndKeyTop(double top) { endKeyTop_ = top; }

 protected:
  SkinnedValueControl(QWidget* parent, int controlId);

  /// What a key does to the control.
  enum class KeyAction { PassOn, StepUp, StepDown, PageUp, PageDown, ToBottom, ToTop };

  /// Drops the current skin and takes `source` as the background; for a
  /// `style` below `styleCount`, loads numbered image `pngId` and lays the
  /// control out. False when the style is unknown or the image does not exist.
  bool LoadSkin(const OffscreenBuffer* source, int pngId, int style, int styleCount);
  [[nodiscard]] bool skinLoaded() const { return !skinImage_.isNull(); }
  [[nodiscard]] const QImage& skinImage() const { return skinImage_; }
  [[nodiscard]] int styleIndex() const { return styleIndex_; }
  [[nodiscard]] int controlId() const { return controlId_; }
  [[nodiscard]] bool focusLook() const { return focusLook_; }
  [[nodiscard]] const std::optional<double>& endKeyTop() const { return endKeyTop_; }

  /// Something drawn on the control changed; the next paint composes again.
  void InvalidateFrame() { frame_.InvalidateFrame(); }
  /// The same, and the control paints again soon.
  void Redraw() { frame_.Redraw(*this); }
  /// Stores `value` in `member` and redraws.
  template <typename T>
  void SetAndRedraw(T& member, const T& value) {
    frame_.Set(*this, member, value);
  }
  /// Draws the focused look from the next paint on.
  void ShowFocusLook();
  /// Lays the control out at its current size and copies the host's pixels again.
  void UpdateGeometry();
  /// The same once a skin is loaded; before that the layout setters only store.
  void UpdateGeometryIfSkinned();
  void BeginDrag();
  void EndDrag();

  /// A loaded, visible skin; subclasses add their own conditions.
  [[nodiscard]] virtual bool InputAllowed() const;
  /// Computes the geometry for the current size and style.
  virtual void LayOut() = 0;
  /// Draws the skin over `frame`, which holds the host's pixels.
  virtual void Compose(QImage& frame) = 0;
  /// One step up or down; invalidates the frame.
  virtual void StepUp() = 0;
  virtual void StepDown() = 0;
  /// To the bottom of the range, or to the top End may reach; invalidates the frame.
  virtual void MoveToEnd(bool top) = 0;
  /// Moves the value to where the dragging pointer is; false (nothing
  /// changed) when the track has no length.
  virtual bool DragTo(const QPoint& at) = 0;
  /// What the arrow keys do; the page and end keys are the same for every control.
  [[nodiscard]] virtual KeyAction ActionForKey(int key) const = 0;
  /// Sends the value to the parent, synchronously.
  virtual void Notify() = 0;

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  [[nodiscard]] KeyAction KeyActionOf(int key) const;
  /// Carries out `action` on the value (not PassOn).
  void Apply(KeyAction action);

  int controlId_;
  bool skinVisible_ = true;
  bool focusLook_ = false;
  bool dragging_ = false;
  std::optional<double> endKeyTop_;
  int styleIndex_ = 0;
  QImage skinImage_;
  const OffscreenBuffer* backgroundSource_ = nullptr;
  int ancestorLevel_ = 2;
  SkinnedFrameCache frame_;
};

}  // namespace rmt4::ui
