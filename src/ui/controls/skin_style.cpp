#include "ui/controls/skin_style.h"


#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScrollBar>
#include <QStyleOption>

#include <algorithm>
#include <array>
#include <cmath>

#include "ui/controls/keyboard_focus.h"
#include "ui/platform/artwork.h"

namespace rmt4::ui {
namespace {

const QColor kTrack(30, 32, 36);
const QColor kGroove(0, 0, 0);
const QColor kRim(88, 92, 99);
const QColor kArrow(200, 203, 208);
const QColor kPressedArrowButton(58, 61, 66);
const QColor kHighlight(5, 64, 235);
const QColor kHighlightedText(255, 255, 255);
const QColor kListText(226, 228, 232);
const QColor kDisabledText(120, 124, 130);

constexpr char kScaleProperty[] = "skinScale";

// The editor sliders' skin: its thumbs are 26 × 16 at these places, the
// second one (a green centre line) marking the focus. The scroll bar's thumb
// keeps their rounded ends and centre line and stretches the plain part between.
constexpr int kSliderSkin = 155;
constexpr QRect kThumb(250, 16, 26, 16);
constexpr QRect kFocusedThumb(280, 16, 26, 16);
constexpr int kThumbEnd = 6;    // each rounded end, in skin pixels
constexpr int kThumbPlain = 7;  // a column of the plain body
constexpr int kThumbGrip = 10;  // where the centre line's surroundings start
constexpr int kThumbGripWidth = 6;

// Sizes at scale 1.
constexpr int kBarExtent = 14;
constexpr int kListPadding = 6;
constexpr int kListRowSpace = 4;

double ScaleOf(const QWidget* widget) {
  for (; widget != nullptr; widget = widget->parentWidget()) {
    const QVariant scale = widget->property(kScaleProperty);
    if (scale.isValid()) return scale.toDouble();
  }
  return 1.0;
}

int Scaled(int size, double scale) { return std::max(1, static_cast<int>(std::lround(size * scale))); }

QRect Transposed(const QRect& r) { return QRect(r.y(), r.x(), r.height(), r.width()); }

/// The thumb image at `box`: ends and centre line kept in proportion, the
/// plain body stretched between them.
void DrawThumb(QPainter& painter, const QRect& box, bool focused) {
  const QImage skin = LoadArtwork(kSliderSkin);
  const QRect source = focused ? kFocusedThumb : kThumb;
  const double k = static_cast<double>(box.height()) / source.height();
  const int end = std::min(box.width() / 2, static_cast<int>(std::lround(kThumbEnd * k)));
  const int grip = std::min(box.width() - 2 * end, static_cast<int>(std::lround(kThumbGripWidth * k)));
  const int top = source.top();
  const int h = source.height();
  painter.drawImage(QRect(box.left(), box.top(), end, box.height()), skin, QRect(source.left(), top, kThumbEnd, h));
  painter.drawImage(QRect(box.left() + end, box.top(), box.width() - 2 * end, box.height()), skin,
                    QRect(source.left() + kThumbPlain, top, 1, h));
  painter.drawImage(QRect(box.right() + 1 - end, box.top(), end, box.height()), skin,
                    QRect(source.right() + 1 - kThumbEnd, top, kThumbEnd, h));
  if (grip > 0) {
    painter.drawImage(QRect(box.center().x() + 1 - grip / 2, box.top(), grip, box.height()), skin,
                      QRect(source.left() + kThumbGrip, top, kThumbGripWidth, h));
  }
}

/// A dark button with a light triangle pointing to the start (left) or the end.
void DrawArrowButton(QPainter& painter, const QRect& box, bool towardsStart, bool pressed) {
  if (box.isEmpty()) return;
  painter.fillRect(box, pressed ? kPressedArrowButton : kTrack);
  const double half = box.height() * 0.25;
  const QPointF centre = QRectF(box).center();
  const double tip = towardsStart ? -half : half;
  QPainterPath triangle;
  triangle.moveTo(centre.x() + tip, centre.y());
  triangle.lineTo(centre.x() - tip, centre.y() - half);
  triangle.lineTo(centre.x() - tip, centre.y() + half);
  triangle.closeSubpath();
  painter.fillPath(triangle, kArrow);
}

}  // namespace

void SkinStyle::Apply(QWidget& widget) {
  static QPointer<SkinStyle> shared;
  if (shared.isNull()) {
    shared = new SkinStyle;
    shared->setParent(QCoreApplication::instance());
  }
  widget.setStyle(shared);
  auto* combo = qobject_cast<QComboBox*>(&widget);
  if (combo == nullptr) return;
  // Styles do not pass to children: the list, its frame and its scroll bars each take it.
  QAbstractItemView* list = combo->view();
  const std::array<QWidget*, 4> parts{list->parentWidget(), list, list->verticalScrollBar(),
                                      list->horizontalScrollBar()};
  for (QWidget* part : parts) {
    if (part != nullptr) part->setStyle(shared);
  }
  QPalette palette = list->palette();
  palette.setColor(QPalette::Base, kTrack);
  palette.setColor(QPalette::Window, kTrack);
  list->setPalette(palette);
}

void SkinStyle::SetScale(QWidget& widget, double scale) {
  if (widget.property(kScaleProperty).toDouble() == scale) return;
  widget.setProperty(kScaleProperty, scale);
  widget.update();
}

void SkinStyle::DrawScrollBar(const QStyleOptionSlider& bar, QPainter& painter, const QWidget* widget) const {
  const bool horizontal = bar.orientation == Qt::Horizontal;
  // Drawn as a horizontal bar; a vertical one sees it through a transposition.
  auto along = [horizontal](const QRect& r) { return horizontal ? r : Transposed(r); };
  auto part = [&](SubControl sub) { return along(proxy()->subControlRect(CC_ScrollBar, &bar, sub, widget)); };
  painter.save();
  if (!horizontal) painter.setTransform(QTransform(0, 1, 1, 0, 0, 0), true);
  const QRect whole = along(bar.rect);

  painter.fillRect(whole, kTrack);
  const QRect groove = part(SC_ScrollBarGroove);
  const int grooveHeight = std::max(2, whole.height() / 4);
  painter.fillRect(QRect(groove.left(), whole.center().y() + 1 - grooveHeight / 2, groove.width(), grooveHeight),
                   kGroove);
  painter.setPen(kRim);
  painter.drawLine(whole.topLeft(), whole.topRight());

  const bool sunken = (bar.state & State_Sunken) != 0;
  DrawArrowButton(painter, part(SC_ScrollBarSubLine), true, sunken && (bar.activeSubControls & SC_ScrollBarSubLine));
  DrawArrowButton(painter, part(SC_ScrollBarAddLine), false, sunken && (bar.activeSubControls & SC_ScrollBarAddLine));

  const bool focused = (bar.state & State_HasFocus) != 0;
  const QRect thumb = part(SC_ScrollBarSlider);
  if (bar.maximum > bar.minimum && !thumb.isEmpty()) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    DrawThumb(painter, thumb, focused);
  }
  if (focused) PaintFocusOutline(painter, whole);
  painter.restore();
}

void SkinStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                   const QWidget* widget) const {
  const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
  if (control == CC_ScrollBar && bar != nullptr) {
    DrawScrollBar(*bar, *painter, widget);
    return;
  }
  QProxyStyle::drawComplexControl(control, option, painter, widget);
}

void SkinStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                            const QWidget* widget) const {
  const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
  // A combo box's popup draws its rows as menu items.
  if (element != CE_MenuItem || item == nullptr || qobject_cast<const QComboBox*>(widget) == nullptr) {
    QProxyStyle::drawControl(element, option, painter, widget);
    return;
  }
  painter->save();
  const bool current = (item->state & State_Selected) != 0;
  painter->fillRect(item->rect, current ? kHighlight : kTrack);
  if (item->menuItemType == QStyleOptionMenuItem::Separator) {
    painter->setPen(kRim);
    painter->drawLine(item->rect.left(), item->rect.center().y(), item->rect.right(), item->rect.center().y());
  } else {
    const int padding = Scaled(kListPadding, ScaleOf(widget));
    const QRect textArea = item->rect.adjusted(padding, 0, -padding, 0);
    QColor text = current ? kHighlightedText : item->palette.color(QPalette::Text);
    if ((item->state & State_Enabled) == 0) text = kDisabledText;
    painter->setFont(item->font);
    painter->setPen(text);
    painter->drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      QFontMetrics(item->font).elidedText(item->text, Qt::ElideRight, textArea.width()));
  }
  painter->restore();
}

void SkinStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const {
  switch (element) {
    case PE_PanelMenu:
      painter->fillRect(option->rect, kTrack);
      return;
    case PE_Frame:
    case PE_FrameMenu:
      painter->save();
      painter->setPen(kRim);
      painter->setBrush(Qt::NoBrush);
      painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
      painter->restore();
      return;
    default:
      QProxyStyle::drawPrimitive(element, option, painter, widget);
  }
}

int SkinStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
  switch (metric) {
    case PM_ScrollBarExtent:
      return Scaled(kBarExtent, ScaleOf(widget));
    case PM_ScrollBarSliderMin:
      return Scaled(kThumb.width(), ScaleOf(widget));
    case PM_MenuPanelWidth:
    case PM_DefaultFrameWidth:
      return 1;
    default:
      return QProxyStyle::pixelMetric(metric, option, widget);
  }
}

QSize SkinStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contentsSize,
                                  const QWidget* widget) const {
  const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
  if (type != CT_MenuItem || item == nullptr || qobject_cast<const QComboBox*>(widget) == nullptr) {
    return QProxyStyle::sizeFromContents(type, option, contentsSize, widget);
  }
  const double scale = ScaleOf(widget);
  const QFontMetrics metrics(item->font);
  return {metrics.horizontalAdvance(item->text) + 2 * Scaled(kListPadding, scale),
          metrics.height() + Scaled(kListRowSpace, scale)};
}

}  // namespace rmt4::ui
