#pragma once

#include <QProxyStyle>

class QPainter;
class QRect;

namespace rmt4::ui {

/// The skin's look for the standard Qt parts the skinned windows still use:
/// the editors' scroll bar and the skinned drop-downs' popup lists. A dark
/// track with the editor sliders' thumb on it, arrows on the same dark, a dark
/// list with the skin's blue behind the current item, and the controls' focus
/// outline while a part has the keyboard focus. Sizes follow the scale each part is
/// given; one style object serves every part.
class SkinStyle : public QProxyStyle {
 public:
  /// Gives `widget` the look; for a combo box also its popup list and the
  /// list's scroll bars.
  static void Apply(QWidget& widget);
  /// The window scale `widget`'s look is drawn at (1 at the design size); a
  /// combo box's popup follows its box.
  static void SetScale(QWidget& widget, double scale);
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contentsSize,
                         const QWidget* widget) const override;

 private:
  SkinStyle() = default;
  void DrawScrollBar(const QStyleOptionSlider& bar, QPainter& painter, const QWidget* widget) const;
};

}  // namespace rmt4::ui
