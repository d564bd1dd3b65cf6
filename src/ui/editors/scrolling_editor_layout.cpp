// Where an editor's controls go at its scale, and how its content scrolls.
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>

#include "ui/controls/band_panel.h"
#include "ui/controls/skin_style.h"
#include "ui/controls/skinned_button.h"
#include "ui/controls/skinned_combo_box.h"
#include "ui/controls/skinned_label.h"
#include "ui/controls/skinned_slider.h"
#include "ui/editors/scrolling_editor.h"
#include "ui/platform/fonts.h"

namespace rmt4::ui {
namespace {

// Single line, centred both ways.
constexpr std::uint32_t kTextFlags = 0x50000025;
constexpr std::uint32_t kLabelColour = 0xC8FAFAFA;
constexpr int kButtonFontSize = 13;
constexpr std::uint32_t kButtonColour = 0xFAFFFFFF;

// The page is one pixel wider than the view, as the console editor's scroll bar has it.
constexpr int kPageWidth = ScrollingEditor::kViewSize.width() + 1;

}  // namespace

void ScrollingEditor::SetScale(double horizontal, double vertical) {
  sx_ = horizontal;
  sy_ = vertical;
  content_->SetScale(sx_, sy_);
  resize(static_cast<int>(kViewSize.width() * sx_), static_cast<int>(kViewSize.height() * sy_));
  LayOut();
  ResetView();
}

void ScrollingEditor::ResetView() {
  const int contentWidth = static_cast<int>(contentSize_.width() * sx_);
  scrollBar_->setPageStep(static_cast<int>(kPageWidth * sx_));
  scrollBar_->setRange(0, std::max(0, contentWidth - width()));
  ScrollTo(0);
  LayOut();
}

QPoint ScrollingEditor::SliderPosition(std::size_t index) const { return inventory_.sliders[index].position; }

QRect ScrollingEditor::Scaled(const QRect& nominal) const {
  return QRect(static_cast<int>(nominal.left() * sx_), static_cast<int>(nominal.top() * sy_),
               static_cast<int>(nominal.width() * sx_), static_cast<int>(nominal.height() * sy_));
}

void ScrollingEditor::LayOut() {
  const int contentHeight = static_cast<int>(contentSize_.height() * sy_);
  scrollBar_->setGeometry(0, contentHeight, width(), std::max(1, height() - contentHeight));
  SkinStyle::SetScale(*scrollBar_, sx_);
  content_->move(-scrollBar_->value(), 0);
  for (std::size_t i = 0; i < labels_.size(); ++i) labels_[i]->setGeometry(Scaled(inventory_.labels[i].rect));
  for (std::size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->setGeometry(Scaled(inventory_.buttons[i].rect));
  for (std::size_t i = 0; i < combos_.size(); ++i) combos_[i]->setGeometry(Scaled(inventory_.combos[i].rect));
  for (std::size_t i = 0; i < sliders_.size(); ++i) {
    const QPoint position = SliderPosition(i);
    // Both slider dimensions follow the horizontal scale, so the skin keeps its proportions.
    const int height = inventory_.sliders[i].thin ? kThinSliderHeight : kSliderHeight;
    sliders_[i]->setGeometry(static_cast<int>(position.x() * sx_), static_cast<int>(position.y() * sy_),
                             static_cast<int>(kSliderWidth * sx_), static_cast<int>(height * sx_));
  }
  for (std::size_t i = 0; i < bands_.size(); ++i) {
    bands_[i]->setGeometry(Scaled(kFirstBandRect.translated(kBandSpacing * static_cast<int>(i), 0)));
  }
  ApplyFonts();
  update();
}

void ScrollingEditor::ApplyFonts() {
  for (std::size_t i = 0; i < labels_.size(); ++i) {
    labels_[i]->SetTextStyle(kTextFlags, static_cast<int>(inventory_.labels[i].fontSize * sx_), kCaptionFace,
                             kLabelColour);
  }
  const int buttonSize = static_cast<int>(kButtonFontSize * sx_);
  for (SkinnedButton* each : buttons_) each->SetTextStyle(kTextFlags, buttonSize, kCaptionFace, kButtonColour);
}

void ScrollingEditor::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayOut();
}

void ScrollingEditor::OnScrollAction(int action) {
  // The arrows jump to either end; a click on the track moves by one pixel.
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      scrollBar_->setSliderPosition(0);
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      scrollBar_->setSliderPosition(scrollBar_->maximum());
      break;
    case QAbstractSlider::SliderPageStepSub:
      scrollBar_->setSliderPosition(scrollBar_->value() - 1);
      break;
    case QAbstractSlider::SliderPageStepAdd:
      scrollBar_->setSliderPosition(scrollBar_->value() + 1);
      break;
    default:
      break;
  }
}

void ScrollingEditor::ScrollTo(int position) {
  scrollBar_->setValue(position);
  content_->move(-scrollBar_->value(), 0);
}

void ScrollingEditor::ScrollIntoView(const QWidget& control) {
  const int left = control.mapTo(content_, QPoint(0, 0)).x();
  const int right = left + control.width();
  const int shown = scrollBar_->value();
  if (left < shown) {
    ScrollTo(left);
  } else if (right > shown + width()) {
    ScrollTo(right - width());
  }
}

}  // namespace rmt4::ui
