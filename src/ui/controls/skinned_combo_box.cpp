#include "ui/controls/skinned_combo_box.h"


#include <QAbstractItemView>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QtGlobal>

#include <algorithm>
#include <array>
#include <cmath>

#include "ui/controls/keyboard_focus.h"
#include "ui/controls/host_background.h"
#include "ui/controls/skin_style.h"
#include "ui/platform/artwork.h"
#include "ui/platform/fonts.h"

namespace rmt4::ui {
namespace {

/// One skin frame's size and the text rectangle inside it, at scale 1.
struct ComboStyle {
  int frameWidth, frameHeight;
  int textLeft, textTop, textRight, textBottom;
};

constexpr std::array<ComboStyle, 6> ComboStyleTable = {{
    {80, 30, 4, 0, 62, 29},
    {110, 24, 4, 1, 92, 23},
    {130, 30, 6, 1, 110, 29},
    {109, 24, 6, 1, 86, 23},
    {76, 19, 6, 0, 70, 19},
    {72, 17, 6, 0, 66, 17},
}};

int Truncate(double value) { return static_cast<int>(value); }

/// `face` in normal weight whose cell (ascent + descent) is `cellHeight` pixels.
QFont FontWithCellHeight(const QString& face, int cellHeight) {
  QFont font = MakeFont(face, cellHeight);
  font.setBold(false);
  const qreal natural = QFontMetricsF(font).height();
  if (natural > 0) font.setPixelSize(std::max(1, qRound(cellHeight * font.pixelSize() / natural)));
  return font;
}

}  // namespace

SkinnedComboBox::SkinnedComboBox(QWidget* parent) : QComboBox(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  SkinStyle::Apply(*this);
  SetListTextColour(listTextColour_);
  connect(this, &QComboBox::activated, this, &SkinnedComboBox::OnUserPick);
  // The host fills and renames the items; the field must show the new text.
  connect(model(), &QAbstractItemModel::rowsInserted, this, &SkinnedComboBox::InvalidateFrame);
  connect(model(), &QAbstractItemModel::rowsRemoved, this, &SkinnedComboBox::InvalidateFrame);
  connect(model(), &QAbstractItemModel::dataChanged, this, &SkinnedComboBox::InvalidateFrame);
  connect(model(), &QAbstractItemModel::modelReset, this, &SkinnedComboBox::InvalidateFrame);
  UpdateLayout();
}

void SkinnedComboBox::SetComboStyle(int style) {
  if (style < 0 || style >= static_cast<int>(ComboStyleTable.size())) {
    qWarning("SkinnedComboBox: there is no style %d; style 0 is used", style);
    style = 0;
  }
  comboStyle_ = style;
  UpdateLayout();
  InvalidateFrame();
}

void SkinnedComboBox::SetSkin(const OffscreenBuffer* backgroundSource, int pngId) {
  backgroundSource_ = backgroundSource;
  skinImage_ = LoadArtwork(pngId);
  skinned_ = !skinImage_.isNull();
  if (!skinned_) qWarning("SkinnedComboBox: there is no skin image %d", pngId);
  InvalidateBackground();
}

void SkinnedComboBox::SetAncestorLevel(int level) {
  ancestorLevel_ = level;
  InvalidateBackground();
}

void SkinnedComboBox::SetFontFace(const QString& face) {
  fontFace_ = face;
  UpdateLayout();
  InvalidateFrame();
}

void SkinnedComboBox::SetFontHeight(int cellHeight) {
  fontHeight_ = cellHeight;
  UpdateLayout();
  InvalidateFrame();
}

void SkinnedComboBox::SetTextColour(const QColor& colour) {
  textColour_ = colour;
  InvalidateFrame();
}

void SkinnedComboBox::SetListTextColour(const QColor& colour) {
  listTextColour_ = colour;
  QPalette palette = view()->palette();
  palette.setColor(QPalette::Text, colour);
  palette.setColor(QPalette::WindowText, colour);
  view()->setPalette(palette);
}

void SkinnedComboBox::SetSelection(int index) {
  shownIndex_ = index;
  InvalidateFrame();
}

void SkinnedComboBox::OnUserPick(int) {
  shownIndex_ = std::max(0, currentIndex());
  InvalidateFrame();
  PostWindowMessage(parentWidget(), controlId_, comboIndex_, comboIndex_);
}

void SkinnedComboBox::UpdateLayout() {
  const ComboStyle& style = ComboStyleTable[static_cast<std::size_t>(comboStyle_)];
  scale_ = static_cast<double>(width()) / style.frameWidth;
  const int left = Truncate(style.textLeft * scale_);
  const int top = Truncate(style.textTop * scale_);
  textRect_ = QRect(left, top, Truncate(style.textRight * scale_) - left, Truncate(style.textBottom * scale_) - top);
  itemFont_ = FontWithCellHeight(fontFace_, Truncate((style.frameHeight - 8) * scale_));
  displayFont_ = FontWithCellHeight(fontFace_, Truncate(fontHeight_ * scale_));
  setFont(itemFont_);  // sizes the list's items
  SkinStyle::SetScale(*this, scale_);
}

void SkinnedComboBox::Compose() {
  if (!backgroundValid_) {
    background_ = CopyHostBackground(*this, backgroundSource_, ancestorLevel_);
    backgroundValid_ = true;
  }
  composed_ = background_;
  QPainter painter(&composed_);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
  const ComboStyle& style = ComboStyleTable[static_cast<std::size_t>(comboStyle_)];
  // The skin always starts at the box's top-left corner and keeps its aspect.
  painter.drawImage(QRectF(0, 0, style.frameWidth * scale_, style.frameHeight * scale_), skinImage_,
                    QRectF(focusLook_ * style.frameWidth, 0, style.frameWidth, style.frameHeight));
  if (shownIndex_ < 0 || shownIndex_ >= count()) shownIndex_ = 0;
  if (count() > 0) {
    painter.setFont(displayFont_);
    painter.setPen(textColour_);
    painter.drawText(textRect_, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, itemText(shownIndex_));
  }
  if (focusLook_ != 0) PaintFocusOutline(painter, composed_.rect());
  frameValid_ = true;
}

void SkinnedComboBox::paintEvent(QPaintEvent*) {
  if (!skinned_) return;
  if (!frameValid_) Compose();
  QPainter(this).drawImage(0, 0, composed_);
}

void SkinnedComboBox::InvalidateFrame() {
  frameValid_ = false;
  update();
}

void SkinnedComboBox::InvalidateBackground() {
  backgroundValid_ = false;
  InvalidateFrame();
}

void SkinnedComboBox::resizeEvent(QResizeEvent* event) {
  QComboBox::resizeEvent(event);
  UpdateLayout();
  InvalidateBackground();
}

// A move puts other host pixels under the box.
void SkinnedComboBox::moveEvent(QMoveEvent* event) {
  QComboBox::moveEvent(event);
  InvalidateBackground();
}

void SkinnedComboBox::focusInEvent(QFocusEvent* event) {
  QComboBox::focusInEvent(event);
  focusLook_ = 1;
  InvalidateFrame();
}

void SkinnedComboBox::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  // The open list takes the focus only on loan; the box still looks focused.
  if (event->reason() == Qt::PopupFocusReason) return;
  focusLook_ = 0;
  InvalidateFrame();
}

void SkinnedComboBox::changeEvent(QEvent* event) {
  QComboBox::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) InvalidateFrame();
}

}  // namespace rmt4::ui
