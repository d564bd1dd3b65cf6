#pragma once

#include <QColor>
#include <QComboBox>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include "ui/platform/window_message.h"

namespace rmt4::ui {

class OffscreenBuffer;

/// The skinned drop-down selector. Qt's combo box keeps the item list (filled
/// by the host), the drop-down list and keyboard/mouse selection; this control
/// draws only the closed field (skin frame by focus, shown item's text); the
/// list has the skin's look (SkinStyle). Each selection by the user becomes
/// one message to its parent:
/// number controlId, wParam = lParam = comboIndex.
class SkinnedComboBox : public QComboBox {
  Q_OBJECT

 public:
  explicit SkinnedComboBox(QWidget* parent);

  void SetControlId(int controlId) { controlId_ = controlId; }
  void SetComboIndex(int comboIndex) { comboIndex_ = comboIndex; }
  /// Row of the style table (frame size and text rectangle); 0..5.
  void SetComboStyle(int style);
  /// Skin: two frames side by side, 0 not focused, 1 focused (with the focus
  /// mark around it). Nothing is drawn before a skin is loaded.
  void SetSkin(const OffscreenBuffer* backgroundSource, int pngId);
  /// 1: placed by its parent's client coordinates, 2: by the top-level window's.
  void SetAncestorLevel(int level);
  void SetFontFace(const QString& face);
  /// Cell height of the shown text at scale 1, in pixels.
  void SetFontHeight(int cellHeight);
  void SetTextColour(const QColor& colour);
  void SetListTextColour(const QColor& colour);
  /// Changes only the item the closed field shows; the list's own selection
  /// stays. An index that names no item shows item 0.
  void SetSelection(int index);

  [[nodiscard]] int shownIndex() const { return shownIndex_; }
  [[nodiscard]] int comboIndex() const { return comboIndex_; }
  [[nodiscard]] double scale() const { return scale_; }
  [[nodiscard]] QRect textRect() const { return textRect_; }
  [[nodiscard]] const QFont& displayFont() const { return displayFont_; }
  [[nodiscard]] const QFont& itemFont() const { return itemFont_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void OnUserPick(int index);
  /// Scale, text rectangle and fonts from the width and the style.
  void UpdateLayout();
  void Compose();
  void InvalidateFrame();
  void InvalidateBackground();

  int controlId_ = kComboChanged;
  int comboIndex_ = 0;
  int comboStyle_ = 0;
  QImage skinImage_;
  const OffscreenBuffer* backgroundSource_ = nullptr;
  int ancestorLevel_ = 2;
  QColor textColour_{82, 82, 82};
  QColor listTextColour_{226, 228, 232};
  QString fontFace_ = QStringLiteral("Arial Bold");
  int fontHeight_ = 14;
  bool skinned_ = false;
  int shownIndex_ = 0;
  int focusLook_ = 0;
  double scale_ = 1.0;
  QRect textRect_;
  QFont displayFont_;
  QFont itemFont_;
  bool backgroundValid_ = false;
  bool frameValid_ = false;
  QImage background_;
  QImage composed_;
};

}  // namespace rmt4::ui
