#include "ui/editors/input_editor.h"

#include <QScrollBar>

#include "ui/controls/ea_qel2.h"
#include "ui/controls/eq_qel0.h"
#include "ui/controls/gdi_button.h"
#include "ui/controls/host_background.h"
#include "ui/controls/qel_combo_box.h"
#include "ui/controls/qel_static.h"
#include "ui/editors/editor_content.h"
#include "ui/editors/input_editor_inventory.h"
#include "ui/platform/fonts.h"
#include "ui/platform/window_message.h"
#include "values/editor_codes.h"
#include "values/filter_values.h"

namespace rmt4::ui {
namespace {

using namespace input_editor;

const QColor kComboTextColour(250, 250, 250);

constexpr int kSliderSkin = 155;
constexpr int kSliderStyle = 3;
constexpr int kBandMessage = CEQ_Qel0::kDefaultControlId;

constexpr int kParentCoordinates = static_cast<int>(AncestorLevel::Parent);

// Panel 1 (x 0..764): EQ, filters, gain; panel 2 (764..1213): sends; panel 3 (1213..1445): compressor.
const std::vector<BackgroundSlice> kBackgroundSlices{
    {0, 1, 200}, {200, 10, 200}, {400, 10, 200}, {600, 69, 165}, {764, 1, 230}, {994, 12, 221}, {1213, 1, 232},
};

std::size_t Kind(InputEditorControl kind) { return static_cast<std::size_t>(kind); }

}  // namespace

CWinInPut::CWinInPut(QWidget* parent, InputEditorRole role) : EditorPanel(parent), role_(role) {
  for (auto& kind : shown_) kind.fill(true);
  content_ = new EditorContent(this, kBackgroundBitmap, kContentSize, kBackgroundSlices);
  scrollBar_ = new QScrollBar(Qt::Horizontal, this);
  connect(scrollBar_, &QAbstractSlider::actionTriggered, this, &CWinInPut::OnScrollAction);
  connect(scrollBar_, &QAbstractSlider::valueChanged, this, [this](int position) { content_->move(-position, 0); });
  CreateControls();
  HideForRole(role);
  resize(kViewSize);
  content_->SetScale(sx_, sy_);
  LayOut();
  ResetView();
  PostWindowMessage(this, kRefreshTexts, 0, 0);
}

void CWinInPut::CreateControls() {
  const CMemDcClass* background = &content_->background();
  for (std::size_t i = 0; i < labels_.size(); ++i) {
    labels_[i] = new Cqel_CStatic(content_);
    labels_[i]->SetBackgroundSource(background);
    labels_[i]->SetAncestorLevel(kParentCoordinates);
  }
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    const InputEditorButton& item = kInputEditorButtons[i];
    auto* button = new CGDI_Button(content_, kButtonClicked);
    button->SetButtonIndex(static_cast<int>(i));
    button->SetAncestorLevel(kParentCoordinates);
    // The frame count follows from the width at SetSkin: the nominal one.
    button->setGeometry(item.rect);
    button->SetSkin(background, item.pngId);
    if (item.latched) button->SetState(kButtonReleased);
    buttons_[i] = button;
  }
  for (std::size_t i = 0; i < combos_.size(); ++i) {
    const InputEditorCombo& item = kInputEditorCombos[i];
    auto* combo = new CQel_ComboBox(content_);
    combo->SetControlId(kComboChanged);
    combo->SetComboIndex(static_cast<int>(i));
    combo->SetAncestorLevel(kParentCoordinates);
    combo->SetTextColour(kComboTextColour);
    combo->SetFontFace(kCaptionFace);
    combo->setGeometry(item.rect);
    combo->SetSkin(background, item.pngId);
    combo->SetComboStyle(item.style);
    combo->SetFontHeight(item.fontHeight);
    combos_[i] = combo;
  }
  for (const int i : {kHighPassCombo, kLowPassCombo}) {
    for (const FilterTypeItem& item : kFilterTypeItems) {
      combos_[static_cast<std::size_t>(i)]->addItem(
          QString::fromUtf8(item.text.data(), static_cast<int>(item.text.size())));
    }
  }
  for (std::size_t i = 0; i < sliders_.size(); ++i) {
    const InputEditorSlider& item = kInputEditorSliders[i];
    auto* slider = new CEA_Qel2(content_, kLabelOrSelector);
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
    sliders_[i] = slider;
  }
  for (std::size_t i = 0; i < bands_.size(); ++i) {
    auto* band = new CEQ_Qel0(content_, kBandMessage);
    band->SetBandIndex(static_cast<int>(i));
    band->SetShowTypeButtons(false);
    band->SetAncestorLevel(kParentCoordinates);
    band->SetSource(background);
    bands_[i] = band;
  }
  FillInitialProgramEntries();
  // Creating the sliders moved the focus from one to the next; none is chosen yet.
  if (QWidget* focused = focusWidget()) focused->clearFocus();
}

void CWinInPut::HideForRole(InputEditorRole role) {
  const auto hide = [this](InputEditorControl kind, std::initializer_list<int> indices) {
    for (const int index : indices) shown_[Kind(kind)][static_cast<std::size_t>(index)] = false;
  };
  if (role == InputEditorRole::kInputChannels) {
    hide(InputEditorControl::kLabel, {kEfxModeTitle, kProgramNameLabel});
    hide(InputEditorControl::kSlider, {kMainSendSlider, kEffectParameter1Slider, kEffectParameter2Slider});
    hide(InputEditorControl::kButton, {kSaveButton});
    hide(InputEditorControl::kCombo, {kProgramCombo});
  } else {
    hide(InputEditorControl::kLabel, {kCompTitle});
    // The returns have no noise gate: the slider would edit nothing.
    hide(InputEditorControl::kSlider, {kDelaySlider, kGainSlider, kNoiseGateSlider, kEfx1Slider, kEfx1Slider + 1, kThresholdSlider,
                                       kThresholdSlider + 1, kThresholdSlider + 2, kRatioSlider});
    hide(InputEditorControl::kButton, {kCompressorButton});
  }
  UpdateVisibility();
}

void CWinInPut::SetControlShown(InputEditorControl kind, int index, bool shown) {
  shown_.at(Kind(kind)).at(static_cast<std::size_t>(index)) = shown;
  UpdateVisibility();
}

bool CWinInPut::controlShown(InputEditorControl kind, int index) const {
  return Shown(kind, static_cast<std::size_t>(index));
}

bool CWinInPut::Shown(InputEditorControl kind, std::size_t index) const {
  if (kind == InputEditorControl::kSlider && withoutDelayAndGain_ && (index == kDelaySlider || index == kGainSlider)) {
    return false;
  }
  return shown_[Kind(kind)][index];
}

void CWinInPut::UpdateVisibility() {
  for (std::size_t i = 0; i < labels_.size(); ++i) labels_[i]->setVisible(Shown(InputEditorControl::kLabel, i));
  for (std::size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->setVisible(Shown(InputEditorControl::kButton, i));
  for (std::size_t i = 0; i < combos_.size(); ++i) combos_[i]->setVisible(Shown(InputEditorControl::kCombo, i));
  for (std::size_t i = 0; i < sliders_.size(); ++i) sliders_[i]->setVisible(Shown(InputEditorControl::kSlider, i));
}

void CWinInPut::SetChannel(int channel) {
  channel_ = channel;
  // Channels 10 and up belong to the effect-return instance, which has no delay or gain anyway.
  withoutDelayAndGain_ = channel == kSt910Channel || channel == kDigitalChannel;
  UpdateVisibility();
}

std::vector<int> CWinInPut::LoadOrder() const {
  std::vector<int> order;
  for (int band = 0; band < kBandCount; ++band) {
    order.insert(order.end(),
                 {editor_code::kBandFrequency + band, editor_code::kBandQ + band, editor_code::kBandGain + band});
  }
  const bool returns = role_ == InputEditorRole::kEffectReturns;
  if (!returns) {
    order.insert(order.end(), {editor_code::kThreshold, editor_code::kAttack, editor_code::kRelease,
                               editor_code::kRatio, editor_code::kDelay, editor_code::kGain, editor_code::kNoiseGate});
  }
  order.insert(order.end(),
               {editor_code::kHpfType, editor_code::kLpfType, editor_code::kHpfFrequency, editor_code::kLpfFrequency});
  if (!returns) order.insert(order.end(), {editor_code::kEfx1Send, editor_code::kEfx2Send});
  for (int aux = 0; aux < 6; ++aux) order.push_back(editor_code::kAux1Send + aux);
  order.push_back(editor_code::kEqOn);
  // The parameters come before the type, which then rebuilds their texts.
  if (returns) {
    order.insert(order.end(), {editor_code::kMainSend, editor_code::kEffectParameter1, editor_code::kEffectParameter2,
                               editor_code::kEffectProgram, editor_code::kEffectProgramType});
  }
  return order;
}

bool CWinInPut::event(QEvent* event) {
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

void CWinInPut::OnSliderMoved(int index) {
  if (index < 0 || index >= static_cast<int>(sliders_.size())) return;
  const int code = kInputEditorSliders[static_cast<std::size_t>(index)].code;
  RefreshText(code);
  Notify(code);
}

void CWinInPut::OnButtonClicked(int index) {
  if (index < 0 || index >= static_cast<int>(buttons_.size())) return;
  const int code = kInputEditorButtons[static_cast<std::size_t>(index)].code;
  Notify(code);
  RefreshText(code);
}

void CWinInPut::OnComboPicked(int index) {
  if (index < 0 || index >= static_cast<int>(combos_.size())) return;
  Notify(kInputEditorCombos[static_cast<std::size_t>(index)].code);
}

void CWinInPut::OnBandEdited(int band, int field) {
  if (band < 0 || band >= kBandCount) return;
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

void CWinInPut::Notify(int code) {
  if (parentWidget() != nullptr) PostWindowMessage(parentWidget(), kControlEdited, channel_, code);
}

}  // namespace rmt4::ui
