#include "ui/editors/scrolling_editor.h"

#include <QApplication>
#include <QScrollBar>

#include "ui/controls/band_panel.h"
#include "ui/controls/host_background.h"
#include "ui/controls/skin_style.h"
#include "ui/controls/skinned_button.h"
#include "ui/controls/skinned_combo_box.h"
#include "ui/controls/skinned_label.h"
#include "ui/controls/skinned_slider.h"
#include "ui/platform/fonts.h"
#include "ui/platform/window_message.h"
#include "values/editor_codes.h"
#include "values/filter_values.h"
#include "values/level_table.h"

namespace rmt4::ui {
namespace {

using namespace editor_control;

const QColor kComboTextColour(250, 250, 250);

constexpr int kSliderSkin = 155;
constexpr int kSliderStyle = 3;
constexpr int kBandMessage = BandPanel::kDefaultControlId;

constexpr int kParentCoordinates = static_cast<int>(AncestorLevel::Parent);

std::size_t Kind(EditorControlKind kind) { return static_cast<std::size_t>(kind); }

}  // namespace

ScrollingEditor::ScrollingEditor(QWidget* parent, QSize contentSize, const std::vector<BackgroundSlice>& slices,
                                 const EditorInventory& inventory)
    : EditorPanel(parent), contentSize_(contentSize), inventory_(inventory) {
  shown_ = {std::vector<bool>(inventory.labels.size(), true), std::vector<bool>(inventory.buttons.size(), true),
            std::vector<bool>(inventory.combos.size(), true), std::vector<bool>(inventory.sliders.size(), true)};
  content_ = new EditorContent(this, kBackgroundBitmap, contentSize, slices);
  scrollBar_ = new QScrollBar(Qt::Horizontal, this);
  SkinStyle::Apply(*scrollBar_);
  connect(scrollBar_, &QAbstractSlider::actionTriggered, this, &ScrollingEditor::OnScrollAction);
  connect(scrollBar_, &QAbstractSlider::valueChanged, this, [this](int position) { content_->move(-position, 0); });
  // Tab may lead to a control scrolled out of sight: it comes into view.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now != nullptr && content_->isAncestorOf(now)) ScrollIntoView(*now);
  });
  CreateControls();
}

void ScrollingEditor::Initialise() {
  UpdateVisibility();
  resize(kViewSize);
  content_->SetScale(sx_, sy_);
  LayOut();
  ResetView();
  PostWindowMessage(this, kRefreshTexts, 0, 0);
}

void ScrollingEditor::CreateControls() {
  const OffscreenBuffer* background = &content_->background();
  for (std::size_t i = 0; i < inventory_.labels.size(); ++i) {
    auto* label = new SkinnedLabel(content_);
    label->SetBackgroundSource(background);
    label->SetAncestorLevel(kParentCoordinates);
    labels_.push_back(label);
  }
  for (std::size_t i = 0; i < inventory_.buttons.size(); ++i) {
    const EditorButtonItem& item = inventory_.buttons[i];
    auto* button = new SkinnedButton(content_, kButtonClicked);
    button->SetButtonIndex(static_cast<int>(i));
    button->SetAncestorLevel(kParentCoordinates);
    // The frame count follows from the width at SetSkin: the nominal one.
    button->setGeometry(item.rect);
    button->SetSkin(background, item.pngId);
    if (item.latched) button->SetState(kButtonReleased);
    buttons_.push_back(button);
  }
  for (std::size_t i = 0; i < inventory_.combos.size(); ++i) {
    const EditorComboItem& item = inventory_.combos[i];
    auto* combo = new SkinnedComboBox(content_);
    combo->SetControlId(kComboChanged);
    combo->SetComboIndex(static_cast<int>(i));
    combo->SetAncestorLevel(kParentCoordinates);
    combo->SetTextColour(kComboTextColour);
    combo->SetFontFace(kCaptionFace);
    combo->setGeometry(item.rect);
    combo->SetSkin(background, item.pngId);
    combo->SetComboStyle(item.style);
    combo->SetFontHeight(item.fontHeight);
    combos_.push_back(combo);
  }
  for (const int i : {kHighPassCombo, kLowPassCombo}) {
    for (const FilterTypeItem& item : kFilterTypeItems) {
      combos_[static_cast<std::size_t>(i)]->addItem(
          QString::fromUtf8(item.text.data(), static_cast<int>(item.text.size())));
    }
  }
  for (std::size_t i = 0; i < inventory_.sliders.size(); ++i) {
    const EditorSliderItem& item = inventory_.sliders[i];
    auto* slider = new SkinnedSlider(content_, kLabelOrSelector);
    slider->SetSliderIndex(static_cast<int>(i));
    slider->SetAncestorLevel(kParentCoordinates);
    slider->SetShowLevelTint(false);
    slider->SetSkin(background, kSliderSkin, kSliderStyle);
    slider->SetToggleEnabled(false);
    slider->SetCaptionLayout(item.thin ? 0 : 1);
    slider->SetMinValue(item.minValue);
    slider->SetMaxValue(item.maxValue);
    // The LPF starts open (its top row); every other slider at its minimum.
    slider->SetValue(item.code == editor_code::kLpfFrequency ? item.maxValue : item.minValue);
    // The sends run over the fader's steps: End stops them at 0 dB as it does a fader.
    if (item.maxValue == kStripFaderTop) slider->SetEndKeyTop(ZeroDbStep());
    sliders_.push_back(slider);
  }
  for (int i = 0; i < inventory_.bandCount; ++i) {
    auto* band = new BandPanel(content_, kBandMessage);
    band->SetBandIndex(i);
    band->SetShowTypeButtons(false);
    band->SetAncestorLevel(kParentCoordinates);
    band->SetSource(background);
    bands_.push_back(band);
  }
}

void ScrollingEditor::SetControlShown(EditorControlKind kind, int index, bool shown) {
  shown_.at(Kind(kind)).at(static_cast<std::size_t>(index)) = shown;
  UpdateVisibility();
}

bool ScrollingEditor::controlShown(EditorControlKind kind, int index) const {
  return Shown(kind, static_cast<std::size_t>(index));
}

bool ScrollingEditor::Shown(EditorControlKind kind, std::size_t index) const { return shown_[Kind(kind)][index]; }

void ScrollingEditor::UpdateVisibility() {
  for (std::size_t i = 0; i < labels_.size(); ++i) labels_[i]->setVisible(Shown(EditorControlKind::kLabel, i));
  for (std::size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->setVisible(Shown(EditorControlKind::kButton, i));
  for (std::size_t i = 0; i < combos_.size(); ++i) combos_[i]->setVisible(Shown(EditorControlKind::kCombo, i));
  for (std::size_t i = 0; i < sliders_.size(); ++i) sliders_[i]->setVisible(Shown(EditorControlKind::kSlider, i));
}

void ScrollingEditor::RefreshTexts() {
  for (int code = 0; code <= editor_code::kCaptions; ++code) RefreshText(code);
}

bool ScrollingEditor::event(QEvent* event) {
  const WindowMessage* message = AsWindowMessage(event);
  if (message == nullptr) return EditorPanel::event(event);
  const int index = static_cast<int>(message->wParam());
  switch (message->message()) {
    case kRefreshTexts:
      RefreshTexts();
      return true;
    case kLabelOrSelector:
      OnSliderMoved(index);
      return true;
    case kButtonClicked:
      OnButtonClicked(index);
      return true;
    case kComboChanged:
      OnComboPicked(index);
      return true;
    case kBandMessage:
      OnBandEdited(index, static_cast<int>(message->lParam()));
      return true;
    default:
      return EditorPanel::event(event);
  }
}

void ScrollingEditor::OnSliderMoved(int index) {
  if (index < 0 || index >= static_cast<int>(sliders_.size())) return;
  const int code = inventory_.sliders[static_cast<std::size_t>(index)].code;
  RefreshText(code);
  Notify(code);
}

void ScrollingEditor::OnButtonClicked(int index) {
  if (index < 0 || index >= static_cast<int>(buttons_.size())) return;
  const int code = inventory_.buttons[static_cast<std::size_t>(index)].code;
  Notify(code);
  RefreshText(code);
}

void ScrollingEditor::OnComboPicked(int index) {
  if (index < 0 || index >= static_cast<int>(combos_.size())) return;
  Notify(inventory_.combos[static_cast<std::size_t>(index)].code);
}

void ScrollingEditor::OnBandEdited(int band, int field) {
  if (band < 0 || band >= inventory_.bandCount) return;
  switch (static_cast<BandField>(field)) {
    case BandField::kGain:
      Notify(editor_code::kBandGain + band);
      break;
    case BandField::kFrequency:
      Notify(editor_code::kBandFrequency + band);
      break;
    case BandField::kQ:
      Notify(editor_code::kBandQ + band);
      break;
    default:
      break;  // the band type is never offered here
  }
}

void ScrollingEditor::Notify(int code) {
  if (parentWidget() != nullptr) PostWindowMessage(parentWidget(), kControlEdited, channel_, code);
}

void ScrollingEditor::ShowCaption(SkinnedSlider& slider, std::string (*text)(double)) {
  slider.SetCaption(QString::fromStdString(text(slider.GetValue())));
}

SkinnedSlider* ScrollingEditor::SliderOfCode(int code) const {
  for (std::size_t i = 0; i < inventory_.sliders.size(); ++i) {
    if (inventory_.sliders[i].code == code) return sliders_[i];
  }
  return nullptr;
}

SkinnedButton* ScrollingEditor::ButtonOfCode(int code) const {
  for (std::size_t i = 0; i < inventory_.buttons.size(); ++i) {
    if (inventory_.buttons[i].code == code) return buttons_[i];
  }
  return nullptr;
}

}  // namespace rmt4::ui
