#pragma once

namespace rmt4 {

/// The channels of the channel editor: 0..7 CH1..CH8, 8 ST9/10, 9 DIGTAL,
/// 10 and 11 the effect returns Fx1 and Fx2, 12 MAIN, 13..18 AUX1..AUX6.
inline constexpr int kEditorChannelCount = 19;
inline constexpr int kSt910Channel = 8;
inline constexpr int kDigitalChannel = 9;
inline constexpr int kFx1Channel = 10;
inline constexpr int kFx2Channel = 11;
inline constexpr int kMainChannel = 12;
inline constexpr int kAux1Channel = 13;
inline constexpr int kLastEditorChannel = 18;

/// The source number of edits made on the editor frame's own header and on
/// its response curve (a panel's edits carry the panel's channel instead).
inline constexpr int kHeaderEditSource = 20;

/// What an editor panel reports it changed: the code of the control.
namespace editor_code {
inline constexpr int kBandFrequency = 0;  ///< + band (0..3 inputs, 0..12 outputs)
inline constexpr int kBandQ = 16;         ///< + band
inline constexpr int kBandGain = 32;      ///< + band
inline constexpr int kEqOn = 48;
inline constexpr int kHpfFrequency = 49;
inline constexpr int kHpfType = 50;
inline constexpr int kLpfFrequency = 52;
inline constexpr int kLpfType = 53;
inline constexpr int kDelay = 58;
inline constexpr int kGain = 59;
inline constexpr int kNoiseGate = 60;
inline constexpr int kMainSend = 61;  ///< effect returns only
inline constexpr int kEfx1Send = 62;
inline constexpr int kEfx2Send = 63;
inline constexpr int kAux1Send = 64;  ///< .. 69 for AUX6, with the Pre/Post switch
inline constexpr int kThreshold = 70;
inline constexpr int kAttack = 71;
inline constexpr int kRelease = 72;
inline constexpr int kRatio = 73;  ///< with the compressor on/off switch
inline constexpr int kEffectParameter1 = 74;
inline constexpr int kEffectParameter2 = 75;
inline constexpr int kEffectProgram = 76;
inline constexpr int kEffectProgramType = 77;  ///< shown only
inline constexpr int kStoreEffectProgram = 78;
/// Rebuilds the fixed captions of a panel.
inline constexpr int kCaptions = 80;
}  // namespace editor_code

/// The output editors' (MAIN, AUX1..AUX6) own codes. Bands, the EQ switch,
/// the filters and the caption refresh keep the editor_code numbers.
namespace output_code {
inline constexpr int kLeftDelay = 58;   ///< MAIN
inline constexpr int kDelay = 59;       ///< AUX buses
inline constexpr int kRightDelay = 60;  ///< MAIN
inline constexpr int kThreshold = 69;
inline constexpr int kAttack = 70;
inline constexpr int kRelease = 71;
inline constexpr int kRatio = 72;               ///< with the compressor on/off switch
inline constexpr int kFeedbackSuppressor = 76;  ///< AUX buses
}  // namespace output_code

/// What the editor frame's header (and its curve relay) reports, with
/// kHeaderEditSource as the source. Band and filter codes of the curve use
/// the editor_code numbers.
namespace header_code {
inline constexpr int kInputMute = 56;
inline constexpr int kOutputMute = 57;
inline constexpr int kInputPfl = 58;
inline constexpr int kOutputPfl = 59;
inline constexpr int kPhantomPower = 60;
inline constexpr int kLeft = 61;
inline constexpr int kRight = 62;
inline constexpr int kBalance = 63;
inline constexpr int kInputFader = 64;
inline constexpr int kOutputFader = 65;
inline constexpr int kPhase = 66;
inline constexpr int kTitle = 67;
inline constexpr int kLanguage = 68;
}  // namespace header_code

}  // namespace rmt4
