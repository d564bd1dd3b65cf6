#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <cstdint>

#include "ui/platform/window_message.h"

namespace rmt4::ui {

class OffscreenBuffer;

/// The program's push button: a horizontal strip of skin frames (off, on,
/// optionally hover and disabled) stretched over a copy of the host's
/// background, with an optional caption drawn as a filled text outline.
/// A completed click toggles a latched button and posts message `controlId`
/// to the parent with wParam = lParam = buttonIndex; the host keeps the real
/// on/off state and sets the look with SetState. Tab gives it the keyboard
/// focus, shown by the focus mark; Space clicks it.
class SkinnedButton : public QWidget {
  Q_OBJECT

 public:
  explicit SkinnedButton(QWidget* parent, int controlId = kButtonClicked);

  void SetButtonIndex(int index) { buttonIndex_ = index; }
  [[nodiscard]] int buttonIndex() const { return buttonIndex_; }
  /// 1 parent, 2 top-level window, 3 its owner: whose coordinates place the
  /// button inside the background source.
  void SetAncestorLevel(int level);
  void SetFontStyle(int styleBits);

  /// Takes the frame strip of image `pngResourceId`; the frame count follows
  /// from the button's current width. An image that does not load leaves the
  /// button without a skin. Does not repaint by itself.
  void SetSkin(const OffscreenBuffer* backgroundSource, int pngResourceId);
  void SetTextStyle(std::uint32_t flags, int size, const QString& face, std::uint32_t colour);

  /// 1 latched off, 2 latched on; ignored while disabled and for other values.
  void SetState(int state);
  /// Flips a latched button; a push button (state 0) stays as it is.
  void Toggle();
  /// What a completed click does, for the mouse, Space and the window's
  /// shortcuts alike: toggles a latched button and posts the message. Ignored
  /// while disabled or not shown.
  void Click();
  [[nodiscard]] int state() const { return state_; }
  /// The body frame: 0 off, 1 on, 3 disabled (0 when the skin has no such frame).
  [[nodiscard]] int frameIndex() const { return frameIndex_; }

  /// Replaces the caption but keeps its layout, so a centred caption stays
  /// centred on the same point.
  void SetText(const QString& text);
  [[nodiscard]] QString text() const { return text_; }

  /// A button that is not shown draws only the background and ignores the pointer.
  void SetShown(bool shown);
  [[nodiscard]] bool shown() const { return shown_; }

  /// Recomposes the picture at the next paint.
  void Refresh();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  [[nodiscard]] bool skinned() const { return !skinImage_.isNull(); }
  [[nodiscard]] bool acceptsPointer() const { return isEnabled() && shown_; }
  void InvalidateFrame();
  void InvalidateLayout();
  /// Brings the background copy, caption layout and composed frame up to date.
  void UpdateComposedFrame();
  /// The background copy, scale factors and caption rectangle.
  void LayOut();
  /// Lays out first when the pointer arrives before the first paint.
  void EnsureLayout();
  void Compose();
  void DrawSkinFrame(QPainter& painter, int frame) const;
  /// The press rectangle, and the hover rectangle one pixel inside the client rim.
  [[nodiscard]] QRect PressRect() const;
  [[nodiscard]] QRect HoverRect() const;
  void HandleMove(const QPoint& position);
  void EndHover();
  void ShowBodyFrameOfState();

  const int controlId_;
  int buttonIndex_ = 0;
  const OffscreenBuffer* backgroundSource_ = nullptr;
  int ancestorLevel_ = 2;
  QImage skinImage_;
  int frameCount_ = 4;
  int hoverFrame_ = 2;
  QString text_;
  QString fontFace_ = QStringLiteral("宋体");
  qreal fontSize_ = 12.0;
  int fontStyle_ = 0;
  std::uint32_t textFlags_ = 0;
  std::uint32_t textColour_ = 0xFF000000;
  bool shown_ = true;

  int state_ = 0;
  int frameIndex_ = 0;
  bool hover_ = false;
  bool pressed_ = false;
  QRect textRect_;
  qreal scaleX_ = 1.0;
  qreal scaleY_ = 1.0;
  QRectF layoutRect_;
  QFont font_;
  bool backgroundValid_ = false;
  bool frameValid_ = false;
  QImage background_;
  QImage composedFrame_;
};

}  // namespace rmt4::ui
