// The frame's header: its controls, their placement by channel kind and
// scale, what they show of the table, and their captions.
#include <algorithm>

#include "i18n/label_id.h"
#include "ui/controls/level_meter.h"
#include "ui/controls/response_curve.h"
#include "ui/controls/skinned_button.h"
#include "ui/controls/skinned_combo_box.h"
#include "ui/controls/skinned_fader.h"
#include "ui/controls/skinned_slider.h"
#include "ui/editors/channel_editor_frame.h"
#include "ui/editors/editor_panel.h"
#include "ui/main/strip_texts.h"
#include "ui/main/window_shortcuts.h"
#include "ui/platform/fonts.h"
#include "ui/platform/tab_chain.h"
#include "ui/platform/translated.h"
#include "ui/platform/window_message.h"
#include "values/editor_addresses.h"
#include "values/editor_codes.h"
#include "values/editor_encodings.h"
#include "values/level_table.h"

namespace rmt4::ui {
namespace {

// The controls find themselves in the frame's background by the frame's coordinates.
constexpr int kParentCoordinates = 1;
constexpr int kParkedTop = -1000;

constexpr std::uint32_t kTextFlags = 0x50000025;
constexpr std::uint32_t kLabelColour = 0xC8FAFAFA;
constexpr std::uint32_t kButtonColour = 0xFAFFFFFF;
constexpr int kTitleFontSize = 20;
constexpr int kCaptionFontSize = 12;
constexpr int kButtonFontSize = 13;
constexpr int kReadoutImage = 146;
constexpr qreal kReadoutFrameWidth = 78;
constexpr qreal kReadoutFrameHeight = 22;

constexpr int kUnlit = 1;
constexpr int kLit = 2;

constexpr QRect kTitleRect(QPoint(430, 274), QPoint(662, 307));
constexpr std::array<QRect, 2> kFaderCaptionRects{QRect(21, 393, 60, 22), QRect(1009, 393, 60, 22)};
constexpr std::array<QRect, 2> kFaderRects{QRect(21, 415, 59, 231), QRect(1009, 415, 59, 231)};
constexpr std::array<QRect, 2> kSelectorRects{QRect(11, 273, 80, 30), QRect(999, 273, 80, 30)};
constexpr QRect kBalanceRect(274, 312, 214, 32);
constexpr QRect kCurveRect(QPoint(15, 16), QPoint(1126, 260));
constexpr std::array<QRect, 2> kMeterRects{QRect(QPoint(1095, 272), QPoint(1109, 641)),
                                           QRect(QPoint(1112, 272), QPoint(1126, 641))};
constexpr QPoint kPanelOrigin(104, 350);

struct ButtonLayout {
  QRect design;
  int pngId;
};
constexpr std::array<ButtonLayout, ChannelEditorFrame::kHeaderButtonCount> kButtons{{
    {QRect(21, 303, 60, 30), 138},   // ENTER (input)
    {QRect(21, 333, 60, 30), 136},   // MUTE
    {QRect(21, 363, 60, 30), 137},   // PFL
    {QRect(1009, 303, 60, 30), 138}, // ENTER (output)
    {QRect(1009, 333, 60, 30), 136}, // MUTE
    {QRect(1009, 363, 60, 30), 137}, // PFL
    {QRect(114, 312, 60, 30), 138},  // Copy
    {QRect(194, 312, 60, 30), 139},  // 48V
    {QRect(194, 312, 60, 30), 139},  // phase, where 48V stands (never both)
    {QRect(750, 312, 60, 30), 139},  // L
    {QRect(830, 312, 60, 30), 139},  // R
}};

constexpr int kFaderImage = 151;
constexpr int kFaderStyle = 1;
constexpr int kSelectorImage = 152;
// The names must fit the field's text area (58 px at scale 1): "立体9/10" does at 16 px, not at 20.
constexpr int kSelectorTextHeight = 16;
constexpr int kBalanceImage = 158;
constexpr int kBalanceStyle = 4;
constexpr int kMeterImage = 167;
constexpr int kMeterMaxLevel = 12;

constexpr double kCutMinHz = 19.0;
constexpr double kBandMinHz = 19.7;
constexpr double kTopHz = 20600.0;

int Trunc(double value) { return static_cast<int>(value); }

LabelId ChannelName(int channel) {
  if (channel <= kFx2Channel) return static_cast<LabelId>(static_cast<int>(LabelId::Ch1) + channel);
  if (channel == kMainChannel) return LabelId::MainBus;
  return static_cast<LabelId>(static_cast<int>(LabelId::Aux1) + channel - kAux1Channel);
}

QString BalanceText(int value) {
  const QString name = Translated(LabelId::Balance);
  if (value == kBalanceCentre) return name + QStringLiteral(":L = R");
  if (value > kBalanceCentre) return name + QString::asprintf(":R: %d%%", value - kBalanceCentre);
  return name + QString::asprintf(":L %d%%", kBalanceCentre - value);
}

}  // namespace

void ChannelEditorFrame::CreateHeader() {
  title_ = new SkinnedLabel(this);
  Place(*title_, kTitleRect);
  for (std::size_t k = 0; k < faderCaptions_.size(); ++k) {
    faderCaptions_[k] = new SkinnedLabel(this);
    faderCaptions_[k]->SetImage(kReadoutImage, kReadoutFrameWidth, kReadoutFrameHeight);
    Place(*faderCaptions_[k], kFaderCaptionRects[k]);
  }
  for (SkinnedLabel* label : {title_, faderCaptions_[0], faderCaptions_[1]}) {
    label->SetBackgroundSource(&background_);
    label->SetAncestorLevel(kParentCoordinates);
  }

  for (int index = 0; index < kHeaderButtonCount; ++index) {
    auto* each = new SkinnedButton(this, kButtonClicked);
    each->SetButtonIndex(index);
    each->SetAncestorLevel(kParentCoordinates);
    // The skin's frame count follows from the width at this moment: the design one.
    each->setGeometry(kButtons[static_cast<std::size_t>(index)].design);
    each->SetSkin(&background_, kButtons[static_cast<std::size_t>(index)].pngId);
    const bool pushButton = index == kInputEnter || index == kOutputEnter || index == kCopy;
    if (!pushButton) each->SetState(kUnlit);
    buttons_[static_cast<std::size_t>(index)] = each;
    Place(*each, kButtons[static_cast<std::size_t>(index)].design);
  }
  buttons_[kPhantom]->SetText(QStringLiteral("48V"));
  buttons_[kLeft]->SetText(QStringLiteral("L"));
  buttons_[kRight]->SetText(QStringLiteral("R"));

  for (std::size_t k = 0; k < faders_.size(); ++k) {
    auto* fader = new SkinnedFader(this, kFaderMoved);
    fader->SetFaderIndex(static_cast<int>(k));
    fader->SetAncestorLevel(kParentCoordinates);
    fader->setGeometry(kFaderRects[k]);
    fader->SetSkin(kFaderStyle, &background_, kFaderImage);
    fader->SetMinValue(0);
    fader->SetMaxValue(kStripFaderTop);
    fader->SetSetScale(1);
    fader->SetPosition(0);
    fader->SetEndKeyTop(ZeroDbStep());
    faders_[k] = fader;
    Place(*fader, kFaderRects[k]);
  }

  for (std::size_t k = 0; k < selectors_.size(); ++k) {
    auto* selector = new SkinnedComboBox(this);
    selector->SetControlId(kLabelOrSelector);
    selector->SetComboIndex(static_cast<int>(k));
    selector->SetAncestorLevel(kParentCoordinates);
    selector->SetTextColour(QColor(0xFA, 0xFA, 0xFA));
    selector->SetFontFace(kCaptionFace);
    selector->SetFontHeight(kSelectorTextHeight);
    selector->setGeometry(kSelectorRects[k]);
    selector->SetSkin(&background_, kSelectorImage);
    selector->addItem(QString());
    selectors_[k] = selector;
    Place(*selector, kSelectorRects[k]);
  }

  balance_ = new SkinnedSlider(this, 6024);
  balance_->SetAncestorLevel(kParentCoordinates);
  balance_->setGeometry(kBalanceRect);
  balance_->SetShowLevelTint(false);
  balance_->SetSkin(&background_, kBalanceImage, kBalanceStyle);
  balance_->SetToggleEnabled(false);
  balance_->SetCaptionLayout(1);
  balance_->SetMinValue(0);
  balance_->SetMaxValue(kBalanceMax);
  ShowBalance(kBalanceCentre);
  Place(*balance_, kBalanceRect);

  curve_ = new ResponseCurve(this);
  curve_->setGeometry(kCurveRect);
  curve_->Initialise();
  curve_->hpfMinHz = kCutMinHz;
  curve_->lpfMinHz = kCutMinHz;
  curve_->bandMinHz = kBandMinHz;
  curve_->hpfMaxHz = kTopHz;
  curve_->lpfMaxHz = kTopHz;
  curve_->bandMaxHz = kTopHz;
  curve_->menuEnabled = true;
  Place(*curve_, kCurveRect);

  for (std::size_t side = 0; side < meters_.size(); ++side) {
    auto* meter = new LevelMeter(this);
    meter->setGeometry(kMeterRects[side]);
    meter->SetBackgroundSource(&background_);
    meter->SetAncestorLevel(kParentCoordinates);
    meter->SetImage(kMeterImage, 0, 0);
    // The image's rows map onto the meter's full height.
    meter->SetRange(0, kMeterMaxLevel, kMeterRects[side].height(), 0.0);
    meter->SetLevel(0);
    meters_[side] = meter;
    Place(*meter, kMeterRects[side]);
  }
}

QString ChannelEditorFrame::ChannelTitle(int channel) { return Translated(ChannelName(channel)); }

std::vector<QWidget*> ChannelEditorFrame::TabStops() const {
  std::vector<QWidget*> stops{selectors_[0],      buttons_[kInputEnter],  buttons_[kInputMute], buttons_[kInputPfl],
                              faders_[0],         buttons_[kCopy],        buttons_[kPhantom],   buttons_[kPhase],
                              balance_,           buttons_[kLeft],        buttons_[kRight],     selectors_[1],
                              buttons_[kOutputEnter], buttons_[kOutputMute], buttons_[kOutputPfl], faders_[1]};
  for (const EditorPanel* each : panels_) {
    if (each == nullptr) continue;
    const std::vector<QWidget*> panelStops = TabStopsByColumns(*each);
    stops.insert(stops.end(), panelStops.begin(), panelStops.end());
  }
  return stops;
}

void ChannelEditorFrame::TakeKeyboard() { selectors_[0]->setFocus(Qt::OtherFocusReason); }

void ChannelEditorFrame::ClickSelectedMute() {
  buttons_[selection_.selected >= kMainChannel ? kOutputMute : kInputMute]->Click();
}

void ChannelEditorFrame::Place(QWidget& control, const QRect& design) { placements_.push_back({&control, design, true}); }

QRect ChannelEditorFrame::Scaled(const QRect& design) const {
  return QRect(Trunc(design.left() * scaleX_), Trunc(design.top() * scaleY_), Trunc(design.width() * scaleX_),
               Trunc(design.height() * scaleY_));
}

QRect ChannelEditorFrame::PanelRect(const EditorPanel& shown) const {
  return Scaled(QRect(kPanelOrigin, shown.DesignSize()));
}

void ChannelEditorFrame::LayOut() {
  if (backgroundImage_.isNull() || width() <= 0 || height() <= 0) return;
  background_.Recreate(0, 0, width(), height());
  background_.StretchFrom(backgroundImage_, 0, 0, width(), height(), 0, 0, backgroundImage_.width(),
                          backgroundImage_.height());
  for (const Placement& placement : placements_) PlaceChild(placement);
  for (EditorPanel* each : panels_) {
    if (each != nullptr) each->setGeometry(PanelRect(*each));
  }
  ApplyFonts();
  update();
}

void ChannelEditorFrame::PlaceChild(const Placement& placement) const {
  QRect rect = Scaled(placement.design);
  if (!placement.shown) rect.moveTop(kParkedTop);
  placement.control->setGeometry(rect);
}

void ChannelEditorFrame::ApplyFonts() {
  title_->SetTextStyle(kTextFlags, Trunc(kTitleFontSize * scaleY_), kCaptionFace, kLabelColour);
  for (SkinnedLabel* caption : faderCaptions_) {
    caption->SetTextStyle(kTextFlags, Trunc(kCaptionFontSize * scaleY_), kCaptionFace, kLabelColour);
  }
  for (SkinnedButton* each : buttons_) {
    each->SetTextStyle(kTextFlags, Trunc(kButtonFontSize * scaleY_), kCaptionFace, kButtonColour);
  }
}

bool ChannelEditorFrame::HeaderShown(const QWidget& control) const {
  for (const Placement& placement : placements_) {
    if (placement.control == &control) return placement.shown;
  }
  return false;
}

void ChannelEditorFrame::SetHeaderShown(QWidget& control, bool shown) {
  for (Placement& placement : placements_) {
    if (placement.control != &control) continue;
    placement.shown = shown;
    PlaceChild(placement);
  }
}

void ChannelEditorFrame::ShowHeaderFor(int channel) {
  const bool mixing = channel < kSt910Channel;
  const bool stereoInput = channel == kSt910Channel || channel == kDigitalChannel;
  const bool output = channel >= kMainChannel;
  const bool aux = channel >= kAux1Channel;
  // Moving the balance away ends a drag in progress on it.
  balance_->SetSkinVisible(false);
  const bool balanceShown = mixing || stereoInput || channel == kMainChannel;
  balance_->SetSkinVisible(balanceShown);
  SetHeaderShown(*balance_, balanceShown);
  const std::array<std::pair<int, bool>, 5> shown{{{kCopy, mixing},
                                                   {kPhantom, mixing},
                                                   {kPhase, output},
                                                   {kLeft, mixing || stereoInput || aux},
                                                   {kRight, mixing || stereoInput || aux}}};
  for (const auto& [index, visible] : shown) {
    buttons_[static_cast<std::size_t>(index)]->SetShown(visible);
    SetHeaderShown(*buttons_[static_cast<std::size_t>(index)], visible);
  }
}

bool ChannelEditorFrame::Lit(int index) const { return buttons_[static_cast<std::size_t>(index)]->state() == kLit; }

void ChannelEditorFrame::SetLit(int index, bool lit) { buttons_[static_cast<std::size_t>(index)]->SetState(lit ? kLit : kUnlit); }

void ChannelEditorFrame::ShowBalance(int value) {
  balance_->SetValue(value);
  RefreshCaption(header_code::kBalance);
}

bool ChannelEditorFrame::HeaderShows(ParamAddress address) const {
  if (address == address::kPflBus || address == address::kMainBalance) return true;
  const InputHeaderAddresses input = InputHeader(selection_.input);
  const BusHeaderAddresses output = BusHeader(selection_.output);
  std::vector<std::optional<ParamAddress>> shown{input.level, input.mute,   input.pfl,  input.left,
                                                 input.right, input.balance, output.level, output.on};
  if (selection_.selected >= kMainChannel) {
    const BusHeaderAddresses edited = BusHeader(selection_.selected - kMainChannel);
    shown.insert(shown.end(), {edited.phase, edited.left, edited.right});
  }
  return std::find(shown.begin(), shown.end(), std::optional<ParamAddress>(address)) != shown.end();
}

void ChannelEditorFrame::RefreshInputSection() {
  const int channel = selection_.input;
  const InputHeaderAddresses input = InputHeader(channel);
  const std::uint16_t switches = params_.Value(input.mute);
  if (input.isEffectReturn()) {
    SetLit(kInputMute, switches == 0);
    SetLit(kInputPfl, (params_.Value(address::kPflBus) & input.pflBusBit) != 0);
  } else {
    SetLit(kInputMute, (switches & kChannelOnBit) == 0);
    if (channel < kSt910Channel) SetLit(kPhantom, (switches & kPhantomPowerBit) != 0);
    SetLit(kInputPfl, (params_.Value(*input.pfl) & kLevelMask) != 0);
    if (selection_.selected == channel) {
      ShowBalance(params_.Value(*input.balance));
      SetLit(kLeft, params_.Value(*input.left) == 0);
      SetLit(kRight, params_.Value(*input.right) == 0);
    }
  }
  faderLevels_[0] = params_.Value(input.level);
  if (const std::optional<int> step = FaderStepForLevel(faderLevels_[0])) faders_[0]->SetPosition(*step);
  RefreshCaption(header_code::kInputFader);
}

void ChannelEditorFrame::RefreshOutputSection() {
  const BusHeaderAddresses output = BusHeader(selection_.output);
  SetLit(kOutputMute, params_.Value(output.on) == 0);
  SetLit(kOutputPfl, (params_.Value(address::kPflBus) & output.pflBit) != 0);
  faderLevels_[1] = params_.Value(output.level);
  if (const std::optional<int> step = FaderStepForLevel(faderLevels_[1])) faders_[1]->SetPosition(*step);
  RefreshCaption(header_code::kOutputFader);
  // The phase, balance and routing of the output being edited.
  if (selection_.selected < kMainChannel) return;
  const BusHeaderAddresses edited = BusHeader(selection_.selected - kMainChannel);
  SetLit(kPhase, params_.Value(edited.phase) == 1);
  RefreshCaption(header_code::kPhase);
  if (selection_.selected == kMainChannel) ShowBalance(params_.Value(address::kMainBalance));
  if (edited.left) SetLit(kLeft, params_.Value(*edited.left) == 0);
  if (edited.right) SetLit(kRight, params_.Value(*edited.right) == 0);
}

void ChannelEditorFrame::RefreshCaption(int code) {
  switch (code) {
    case header_code::kBalance:
      balance_->SetCaption(BalanceText(static_cast<int>(balance_->GetValue())));
      break;
    case header_code::kInputFader:
    case header_code::kOutputFader: {
      const std::size_t k = code == header_code::kInputFader ? 0 : 1;
      faderCaptions_[k]->SetText(LevelText(faderLevels_[k]));
      break;
    }
    case header_code::kPhase:
      buttons_[kPhase]->SetText(Translated(Lit(kPhase) ? LabelId::Phase180 : LabelId::Phase0));
      break;
    case header_code::kTitle:
      title_->SetText(ChannelTitle(selection_.selected));
      break;
    case header_code::kLanguage:
      RefreshLanguage();
      break;
    default:
      break;
  }
}

void ChannelEditorFrame::RefreshLanguage() {
  for (EditorPanel* each : panels_) {
    if (each != nullptr) PostWindowMessage(each, kRefreshTexts, 0, 0);
  }
  for (std::size_t k = 0; k < selectors_.size(); ++k) {
    SkinnedComboBox& selector = *selectors_[k];
    selector.setAccessibleName(Translated(k == 0 ? LabelId::InputChannelChoice : LabelId::OutputChannelChoice));
    const QSignalBlocker quiet(&selector);
    selector.clear();
    const int first = k == 0 ? 0 : kMainChannel;
    const int last = k == 0 ? kFx2Channel : kLastEditorChannel;
    for (int channel = first; channel <= last; ++channel) {
      selector.addItem(ChannelTitle(channel));
      selector.setItemData(selector.count() - 1,
                           WindowShortcuts::WithKey(ChannelTitle(channel), WindowShortcuts::ChannelKey(channel)),
                           Qt::ToolTipRole);
    }
  }
  ShowSelections();
  static constexpr std::array<std::pair<int, LabelId>, 7> kCaptions{{{kInputEnter, LabelId::Enter},
                                                                     {kOutputEnter, LabelId::Enter},
                                                                     {kInputMute, LabelId::Mute},
                                                                     {kOutputMute, LabelId::Mute},
                                                                     {kInputPfl, LabelId::Pfl},
                                                                     {kOutputPfl, LabelId::Pfl},
                                                                     {kCopy, LabelId::Copy}}};
  for (const auto& [index, label] : kCaptions) buttons_[static_cast<std::size_t>(index)]->SetText(Translated(label));
}

void ChannelEditorFrame::ShowSelections() {
  selectors_[0]->SetSelection(selection_.input);
  selectors_[1]->SetSelection(selection_.output);
}

void ChannelEditorFrame::PostHeaderEdit(int code) {
  PostWindowMessage(this, kControlEdited, kHeaderEditSource, code);
  RefreshCaption(code);
}

}  // namespace rmt4::ui
