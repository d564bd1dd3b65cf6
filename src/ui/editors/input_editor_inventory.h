#pragma once

#include <array>

#include "ui/editors/editor_inventory.h"

namespace rmt4::ui {

// The controls of the input channel editor at scale 1, in the editor's
// content coordinates (1445 × 279), each with the editor code it reports.
// Index = the control's number within its kind (L0.., B0.., C0.., K0..).

using InputEditorLabel = EditorLabelItem;
inline constexpr std::array<InputEditorLabel, 10> kInputEditorLabels{{
    {QRect(QPoint(255, 191), QPoint(314, 210)), 12},    // L0 "Gain:(db)"
    {QRect(QPoint(255, 216), QPoint(314, 235)), 12},    // L1 "Freq:(Hz)"
    {QRect(QPoint(255, 241), QPoint(314, 260)), 12},    // L2 "Q/HL:"
    {QRect(QPoint(10, 184), QPoint(109, 203)), 12},     // L3 HPF text
    {QRect(QPoint(10, 230), QPoint(109, 249)), 12},     // L4 LPF text
    {QRect(QPoint(0, 4), QPoint(231, 49)), 18},         // L5 "EQ"
    {QRect(QPoint(764, 4), QPoint(1212, 49)), 18},      // L6 "SEND"
    {QRect(QPoint(1213, 4), QPoint(1444, 49)), 18},     // L7 "COMP"
    {QRect(QPoint(1213, 4), QPoint(1444, 49)), 18},     // L8 "EFX Mode"
    {QRect(QPoint(1213, 115), QPoint(1444, 138)), 16},  // L9 program name
}};

using InputEditorButton = EditorButtonItem;
inline constexpr std::array<InputEditorButton, 9> kInputEditorButtons{{
    {QRect(250, 16, 60, 30), 139, true, 48},   // B0 EQ on/off
    {QRect(1224, 50, 60, 30), 139, true, 73},  // B1 compressor on/off
    {QRect(935, 95, 50, 20), 165, true, 64},   // B2..B7 AUX1..6 Pre/Post
    {QRect(1158, 95, 50, 20), 165, true, 65},
    {QRect(935, 155, 50, 20), 165, true, 66},
    {QRect(1158, 155, 50, 20), 165, true, 67},
    {QRect(935, 215, 50, 20), 165, true, 68},
    {QRect(1158, 215, 50, 20), 165, true, 69},
    {QRect(1366, 69, 60, 30), 138, false, 78},  // B8 Save
}};

using InputEditorCombo = EditorComboItem;
inline constexpr std::array<InputEditorCombo, 3> kInputEditorCombos{{
    {QRect(115, 180, 110, 24), 160, 1, 18, 50},  // C0 HPF type
    {QRect(115, 226, 110, 24), 160, 1, 18, 53},  // C1 LPF type
    {QRect(1232, 69, 130, 30), 166, 2, 20, 76},  // C2 effect program
}};

using InputEditorSlider = EditorSliderItem;
inline constexpr std::array<InputEditorSlider, 20> kInputEditorSliders{{
    {QPoint(10, 50), false, 0, 100, 58},    // K0 delay
    {QPoint(10, 96), false, 0, 63, 59},     // K1 gain
    {QPoint(10, 142), false, 0, 120, 60},   // K2 noise gate
    {QPoint(10, 204), true, 0, 362, 49},    // K3 HPF frequency
    {QPoint(10, 250), true, 1, 362, 52},    // K4 LPF frequency
    {QPoint(771, 55), false, 0, 280, 62},   // K5 Efx1 send
    {QPoint(994, 55), false, 0, 280, 63},   // K6 Efx2 send
    {QPoint(771, 115), false, 0, 280, 64},  // K7..K12 AUX1..6 sends
    {QPoint(994, 115), false, 0, 280, 65},  {QPoint(771, 175), false, 0, 280, 66},
    {QPoint(994, 175), false, 0, 280, 67},  {QPoint(771, 235), false, 0, 280, 68},
    {QPoint(994, 235), false, 0, 280, 69},  {QPoint(1223, 96), false, 0, 56, 70},  // K13 threshold
    {QPoint(1223, 142), false, 0, 127, 71},                                        // K14 attack
    {QPoint(1223, 188), false, 0, 127, 72},                                        // K15 release
    {QPoint(1223, 234), false, 0, 40, 73},                                         // K16 ratio
    {QPoint(771, 115), false, 0, 280, 61},                                         // K17 Main send (effect returns)
    {QPoint(1223, 159), false, 0, 30, 74},                                         // K18, K19 effect program parameters
    {QPoint(1223, 219), false, 0, 100, 75},
}};

/// The four EQ band panels.
inline constexpr int kBandCount = 4;

/// Indices the editor's code handling names.
namespace input_editor {
using namespace editor_control;
inline constexpr int kEqOnButton = 0;
inline constexpr int kCompressorButton = 1;
inline constexpr int kFirstPrePostButton = 2;
inline constexpr int kSaveButton = 8;
inline constexpr int kProgramCombo = 2;
inline constexpr int kDelaySlider = 0;
inline constexpr int kGainSlider = 1;
inline constexpr int kNoiseGateSlider = 2;
inline constexpr int kHighPassSlider = 3;
inline constexpr int kLowPassSlider = 4;
inline constexpr int kEfx1Slider = 5;
inline constexpr int kFirstAuxSlider = 7;
inline constexpr int kThresholdSlider = 13;
inline constexpr int kRatioSlider = 16;
inline constexpr int kMainSendSlider = 17;
inline constexpr int kEffectParameter1Slider = 18;
inline constexpr int kEffectParameter2Slider = 19;
inline constexpr int kSendTitle = 6;
inline constexpr int kCompTitle = 7;
inline constexpr int kEfxModeTitle = 8;
inline constexpr int kProgramNameLabel = 9;
}  // namespace input_editor

}  // namespace rmt4::ui
