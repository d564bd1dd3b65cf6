// The equaliser section every channel editor has: band panels, the EQ
// switch and the two cut filters, as raw parameter words and texts.
#include <algorithm>
#include <cmath>

#include "dsp/band_field_steps.h"
#include "i18n/label_id.h"
#include "ui/controls/band_panel.h"
#include "ui/controls/skinned_button.h"
#include "ui/controls/skinned_combo_box.h"
#include "ui/controls/skinned_label.h"
#include "ui/controls/skinned_slider.h"
#include "ui/editors/scrolling_editor.h"
#include "ui/platform/translated.h"
#include "values/editor_codes.h"
#include "values/editor_encodings.h"
#include "values/filter_values.h"
#include "values/input_editor_conversions.h"

namespace rmt4::ui {
namespace {

using namespace editor_control;

int FilterRowOf(const SkinnedSlider& slider) { return static_cast<int>(std::lround(slider.GetValue())); }

/// The band of a band code with base `first` (frequency, Q or gain), or -1.
int BandIn(int code, int first, int bandCount) { return code >= first && code < first + bandCount ? code - first : -1; }

}  // namespace

bool ScrollingEditor::ButtonPressed(int index) const { return button(index).state() == kButtonPressed; }

void ScrollingEditor::ShowPressed(int index, bool pressed) {
  button(index).SetState(pressed ? kButtonPressed : kButtonReleased);
}

QString ScrollingEditor::OnOffCaption(const SkinnedButton& sectionSwitch) {
  // Pressed switches the section off.
  return Translated(sectionSwitch.state() == kButtonPressed ? LabelId::Off : LabelId::On);
}

std::optional<int> ScrollingEditor::ReadEqSection(int code) const {
  const int bands = inventory_.bandCount;
  if (const int b = BandIn(code, editor_code::kBandFrequency, bands); b >= 0) {
    return BandFrequencyRaw(band(b).value(BandField::kFrequency));
  }
  if (const int b = BandIn(code, editor_code::kBandQ, bands); b >= 0) {
    return BandQRaw(band(b).value(BandField::kQ));
  }
  if (const int b = BandIn(code, editor_code::kBandGain, bands); b >= 0) return BandGainRaw(band(b).gain());
  switch (code) {
    case editor_code::kEqOn:
      return ButtonOfCode(code)->state() == kButtonPressed ? 1 : 0;
    case editor_code::kHpfFrequency:
    case editor_code::kLpfFrequency:
      return FilterRowRaw(FilterRowOf(*SliderOfCode(code)));
    case editor_code::kHpfType:
      return FilterTypeCode(CutFilter::kHighPass, combo(kHighPassCombo).shownIndex());
    case editor_code::kLpfType:
      return FilterTypeCode(CutFilter::kLowPass, combo(kLowPassCombo).shownIndex());
    default:
      return std::nullopt;
  }
}

bool ScrollingEditor::ApplyEqSection(int code, int raw) {
  const GainRange gains;
  const auto word = static_cast<std::uint16_t>(raw);
  const int bands = inventory_.bandCount;
  // The console's frequency and Q as they are, between the panel's steps too: the
  // panel shows the value the console holds, and the keys step on from there.
  if (const int b = BandIn(code, editor_code::kBandFrequency, bands); b >= 0) {
    band(b).SetField(BandField::kFrequency, DecodeFrequency(word));
    return true;
  }
  if (const int b = BandIn(code, editor_code::kBandQ, bands); b >= 0) {
    band(b).SetField(BandField::kQ, DecodeQ(word));
    return true;
  }
  if (const int b = BandIn(code, editor_code::kBandGain, bands); b >= 0) {
    // The band's fader stops at +12 dB; a louder console value is shown, and next written, as +12 dB.
    band(b).SetField(BandField::kGain, std::clamp(DecodeGainDb(word), gains.min, gains.max));
    return true;
  }
  switch (code) {
    case editor_code::kEqOn:
      ButtonOfCode(code)->SetState(raw != 0 ? kButtonPressed : kButtonReleased);
      break;
    case editor_code::kHpfFrequency:
    case editor_code::kLpfFrequency:
      SliderOfCode(code)->SetValue(FilterRowForRaw(word));
      break;
    case editor_code::kHpfType:
      combo(kHighPassCombo).SetSelection(FilterTypeItemForCode(CutFilter::kHighPass, raw));
      break;
    case editor_code::kLpfType:
      combo(kLowPassCombo).SetSelection(FilterTypeItemForCode(CutFilter::kLowPass, raw));
      break;
    default:
      return false;
  }
  RefreshText(code);
  return true;
}

bool ScrollingEditor::RefreshEqSectionText(int code) {
  switch (code) {
    case editor_code::kEqOn:
      ButtonOfCode(code)->SetText(OnOffCaption(*ButtonOfCode(code)));
      return true;
    case editor_code::kHpfFrequency:
      label(kHighPassLabel)
          .SetText(QString::fromStdString(FilterFrequencyText(CutFilter::kHighPass, FilterRowOf(*SliderOfCode(code)))));
      return true;
    case editor_code::kLpfFrequency:
      label(kLowPassLabel)
          .SetText(QString::fromStdString(FilterFrequencyText(CutFilter::kLowPass, FilterRowOf(*SliderOfCode(code)))));
      return true;
    default:
      return false;
  }
}

void ScrollingEditor::RefreshEqCaptions() {
  label(kGainCaption).SetText(Translated(LabelId::GainDb));
  label(kFreqCaption).SetText(Translated(LabelId::FreqHz));
  label(kQCaption).SetText(Translated(LabelId::QHl));
  label(kEqTitle).SetText(Translated(LabelId::Eq));
}

}  // namespace rmt4::ui
