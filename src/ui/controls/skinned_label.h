#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>

#include <cstdint>

namespace rmt4::ui {

class OffscreenBuffer;

/// The text label used everywhere (channel names, value read-outs, titles):
/// the host's background under it, an optional fill, an optional image frame
/// and one anti-aliased string, composed off-screen and recomposed only when
/// something visible changed. It sends nothing to its host.
class SkinnedLabel : public QWidget {
  Q_OBJECT

 public:
  explicit SkinnedLabel(QWidget* parent);

  void SetBackgroundSource(const OffscreenBuffer* source);
  /// 1: placed by its parent's client coordinates, 2: by the top-level window's.
  void SetAncestorLevel(int level);
  /// `flags` are TextFlagBits (higher bits are ignored), `size` the em size in
  /// pixels, `colour` 0xAARRGGBB.
  void SetTextStyle(std::uint32_t flags, int size, const QString& face, std::uint32_t colour);
  /// FontStyleBits: bold 1, italic 2.
  void SetFontStyle(int styleBits);
  /// Fills the whole label before the image and text unless the alpha byte is 0.
  void SetFillColour(std::uint32_t argb);
  /// Draws frame `imageFrame` (of `frameWidth` × `frameHeight` pixels, frames
  /// side by side) of the numbered image stretched over the label.
  void SetImage(int pngResourceId, qreal frameWidth, qreal frameHeight);
  void SetImageFrame(int frame);
  void SetText(const QString& text);
  [[nodiscard]] QString text() const { return text_; }

 protected:
  /// The image step of the composition; the level meter takes its bar's columns here.
  /// Runs only when an image is set.
  virtual void DrawImageLayer(QPainter& painter, const QImage& image);
  /// Marks the picture stale and schedules a repaint.
  void Invalidate();
  [[nodiscard]] const QImage& image() const { return image_; }

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void Compose();
  void DrawText(QPainter& painter) const;
  void UpdateFont();

  const OffscreenBuffer* backgroundSource_ = nullptr;
  int ancestorLevel_ = 2;
  QString text_;
  QString fontFace_ = QStringLiteral("宋体");
  qreal fontSize_ = 12.0;
  int fontStyle_ = 0;
  QFont font_;  // built from the three above, once per style change
  std::uint32_t textColour_ = 0xFF000000u;
  std::uint32_t textFlags_ = 0;
  std::uint32_t fillColour_ = 0;
  QImage image_;
  int imageFrame_ = 0;
  qreal imageFrameWidth_ = 0;
  qreal imageFrameHeight_ = 0;
  bool frameValid_ = false;
  QImage composed_;
};

}  // namespace rmt4::ui
