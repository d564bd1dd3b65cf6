// Every edit of the frame, its panels and its curve becomes a parameter
// write here; loading shows the table on the panel and the curve.
#include "i18n/label_id.h"
#include "ui/controls/response_curve.h"
#include "ui/controls/skinned_fader.h"
#include "ui/controls/skinned_slider.h"
#include "ui/editors/channel_editor_frame.h"
#include "ui/editors/editor_panel.h"
#include "ui/platform/message_box.h"
#include "ui/platform/translated.h"
#include "ui/platform/window_message.h"
#include "values/editor_addresses.h"
#include "values/editor_codes.h"
#include "values/editor_encodings.h"
#include "values/effect_program_values.h"
#include "values/level_table.h"

namespace rmt4::ui {
namespace {

constexpr int kInputBands = 4;
constexpr int kOutputBands = ResponseCurve::kBandCount;
constexpr int kBandCodeSpan = 16;  // frequency, Q and gain codes each leave room for 16 bands
// A cut filter that is off lies below the curve's lowest frequency.
constexpr double kOffAfterEditHz = 10.0;
constexpr double kOffWhenLoadingHz = 0.0;

/// The band of a band code (frequency, Q or gain), or -1.
int BandOf(int code) {
  if (code < editor_code::kBandFrequency || code >= editor_code::kEqOn) return -1;
  return code % kBandCodeSpan;
}

int PointOfBand(int band) { return ResponseCurve::kFirstBandPoint + band; }

}  // namespace

int ChannelEditorFrame::BandCount() const { return selection_.selected >= kMainChannel ? kOutputBands : kInputBands; }

void ChannelEditorFrame::Write(const EditorAddresses& addresses, int raw) {
  for (ParamAddress address : addresses) ParamSet(params_, address, static_cast<std::uint16_t>(raw));
}

void ChannelEditorFrame::OnControlEdited(int source, int code) {
  if (source == kHeaderEditSource) {
    RouteHeaderEdit(code);
  } else if (source >= 0 && source <= kLastEditorChannel) {
    RoutePanelEdit(source, code);
  }
}

void ChannelEditorFrame::RoutePanelEdit(int channel, int code) {
  const std::optional<PanelKind> kind = PanelKindOf(channel);
  EditorPanel* from = kind ? panel(*kind) : nullptr;
  if (from == nullptr || from->channel() != channel) return;  // a late report of a channel no longer shown
  if (BandOf(code) >= (channel >= kMainChannel ? kOutputBands : kInputBands)) return;
  const bool effectReturn = channel == kFx1Channel || channel == kFx2Channel;
  if (effectReturn && (code == editor_code::kEffectProgram || code == editor_code::kStoreEffectProgram)) {
    RouteEffectProgram(channel, code, from->ReadControl(editor_code::kEffectProgram));
    return;
  }
  const int raw = from->ReadControl(code);
  if (channel == selection_.selected) ShowOnCurve(code, static_cast<std::uint16_t>(raw), kOffAfterEditHz);
  if (channel == kMainChannel && code == output_code::kLeftDelay) {
    // MAIN's left delay has no linked address to follow: it is stored and marked for writing as it is.
    ParamSet(params_, address::kMainLeftDelay, static_cast<std::uint16_t>(raw));
    return;
  }
  Write(EditorCodeAddresses(channel, code), raw);
}

void ChannelEditorFrame::RouteEffectProgram(int channel, int code, int program) {
  if (channel != kFx1Channel && channel != kFx2Channel) return;
  const bool fx1 = channel == kFx1Channel;
  // The console's own programs cannot be overwritten.
  if (code == editor_code::kStoreEffectProgram) {
    if (const std::optional<LabelId> refusal = StoreProgramRefusal(program)) {
      ShowMessageBox(this, MessageStyle::Ok, Translated(*refusal));
      return;
    }
  }
  // The program number is not a parameter of its own: the link worker sends
  // it with the recall or store command the job asks for.
  params_[fx1 ? address::kFx1Program : address::kFx2Program].Store(static_cast<std::uint16_t>(program));
  if (code == editor_code::kEffectProgram) {
    jobs_.Request(fx1 ? LinkJob::RecallFxPreset1 : LinkJob::RecallFxPreset2);
  } else {
    jobs_.Request(fx1 ? LinkJob::StoreFxPreset1 : LinkJob::StoreFxPreset2);
  }
}

void ChannelEditorFrame::RouteHeaderEdit(int code) {
  EditorPanel* shown = ShownPanel();
  const int band = BandOf(code);
  const bool cutFrequency = code == editor_code::kHpfFrequency || code == editor_code::kLpfFrequency;
  if (band >= 0 || cutFrequency) {
    if (shown == nullptr || band >= BandCount()) return;
    // The panel keeps to its own steps: what it then shows is what is written.
    shown->ApplyValue(code, CurveValue(code));
    Write(EditorCodeAddresses(selection_.selected, code), shown->ReadControl(code));
    return;
  }
  int reading = 0;
  switch (code) {
    case header_code::kInputMute:
      reading = Lit(kInputMute);
      break;
    case header_code::kInputPfl:
      reading = Lit(kInputPfl);
      break;
    case header_code::kPhantomPower:
      reading = Lit(kPhantom);
      break;
    case header_code::kOutputMute:
      reading = Lit(kOutputMute);
      break;
    case header_code::kOutputPfl:
      reading = Lit(kOutputPfl);
      break;
    case header_code::kLeft:
      reading = Lit(kLeft);
      break;
    case header_code::kRight:
      reading = Lit(kRight);
      break;
    case header_code::kPhase:
      reading = Lit(kPhase);
      break;
    case header_code::kInputFader:
      reading = LevelAtStep(fader(0).position());
      break;
    case header_code::kOutputFader:
      reading = LevelAtStep(fader(1).position());
      break;
    case header_code::kBalance:
      reading = static_cast<int>(balance_->GetValue());
      break;
    default:
      return;
  }
  WriteHeaderEdit(params_, selection_, code, reading);
}

void ChannelEditorFrame::OnCurveEdited(int notice, int band) {
  if (band < 0 || band >= ResponseCurve::kBandCount) return;
  if (notice == ResponseCurve::kHpfNotice) {
    PostWindowMessage(this, kControlEdited, kHeaderEditSource, editor_code::kHpfFrequency);
  } else if (notice == ResponseCurve::kLpfNotice) {
    PostWindowMessage(this, kControlEdited, kHeaderEditSource, editor_code::kLpfFrequency);
  } else {
    for (int code : {editor_code::kBandGain + band, editor_code::kBandFrequency + band, editor_code::kBandQ + band}) {
      PostWindowMessage(this, kControlEdited, kHeaderEditSource, code);
    }
  }
}

std::uint16_t ChannelEditorFrame::CurveValue(int code) const {
  if (code == editor_code::kHpfFrequency || code == editor_code::kLpfFrequency) {
    const int point = code == editor_code::kHpfFrequency ? ResponseCurve::kHpfPoint : ResponseCurve::kLpfPoint;
    return EncodeFrequency(curve_->pointFrequency[static_cast<std::size_t>(point)]);
  }
  const auto point = static_cast<std::size_t>(PointOfBand(BandOf(code)));
  if (code >= editor_code::kBandGain) return EncodeGainTenths(curve_->pointGain[point]);
  if (code >= editor_code::kBandQ) return EncodeQ(curve_->pointQ[point]);
  return EncodeFrequency(curve_->pointFrequency[point]);
}

void ChannelEditorFrame::ShowOnCurve(int code, std::uint16_t raw, double offHz) {
  const int band = BandOf(code);
  if (band >= 0) {
    if (band >= BandCount()) return;
    if (code >= editor_code::kBandGain) {
      curve_->SetBandGain(DecodeGainDb(raw), band);
    } else if (code >= editor_code::kBandQ) {
      curve_->SetBandQ(DecodeQ(raw), band);
    } else {
      curve_->SetBandFrequency(DecodeFrequency(raw), band);
    }
    return;
  }
  switch (code) {
    case editor_code::kEqOn:
      // Raw 1 is the EQ button pressed ("OFF"): the curve then says "EQ PASS".
      curve_->SetEqActive(raw == 0);
      break;
    case editor_code::kHpfType:
    case editor_code::kLpfType:
      curve_->SetCutType(raw);
      break;
    case editor_code::kHpfFrequency:
      curve_->SetCutFrequency(DecodeCutFrequency(raw, offHz), 0);
      break;
    case editor_code::kLpfFrequency:
      curve_->SetCutFrequency(DecodeCutFrequency(raw, offHz), 1);
      break;
    default:
      break;
  }
}

void ChannelEditorFrame::LoadPanelAndCurve() {
  const int channel = selection_.selected;
  const auto valueOf = [&](int code) -> std::optional<std::uint16_t> {
    const EditorAddresses addresses = EditorCodeAddresses(channel, code);
    if (addresses.empty()) return std::nullopt;
    return params_.Value(addresses.front());
  };
  if (EditorPanel* shown = ShownPanel()) {
    for (int code : shown->LoadOrder()) {
      if (const auto raw = valueOf(code)) shown->ApplyValue(code, *raw);
    }
  }
  for (int band = 0; band < BandCount(); ++band) {
    for (int code : {editor_code::kBandFrequency + band, editor_code::kBandQ + band, editor_code::kBandGain + band}) {
      if (const auto raw = valueOf(code)) ShowOnCurve(code, *raw, kOffWhenLoadingHz);
    }
  }
  for (int code : {editor_code::kHpfType, editor_code::kHpfFrequency, editor_code::kLpfType,
                   editor_code::kLpfFrequency, editor_code::kEqOn}) {
    if (const auto raw = valueOf(code)) ShowOnCurve(code, *raw, kOffWhenLoadingHz);
  }
  if (EditorPanel* shown = ShownPanel()) shown->ResetView();
}

}  // namespace rmt4::ui
