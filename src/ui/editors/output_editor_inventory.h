#pragma once

#include <array>

#include "ui/editors/editor_inventory.h"

namespace rmt4::ui {

// The controls of the output channel editor (MAIN and the AUX buses) at
// scale 1, in the editor's content coordinates (1919 × 279), each with the
// editor code it reports. The console's own numbering of the sliders skips
// K3; the comments give those names.

inline constexpr std::array<EditorLabelItem, 7> kOutputEditorLabels{{
    {QRect(QPoint(255, 191), QPoint(314, 210)), 12},  // L0 "Gain:(db)"
    {QRect(QPoint(255, 216), QPoint(314, 235)), 12},  // L1 "Freq:(Hz)"
    {QRect(QPoint(255, 241), QPoint(314, 260)), 12},  // L2 "Q/HL:"
    {QRect(QPoint(10, 184), QPoint(109, 203)), 12},   // L3 HPF text
    {QRect(QPoint(10, 230), QPoint(109, 249)), 12},   // L4 LPF text
    {QRect(QPoint(0, 4), QPoint(231, 49)), 18},       // L5 "EQ"
    {QRect(QPoint(1687, 4), QPoint(1918, 49)), 18},   // L6 "COMP"
}};

inline constexpr std::array<EditorButtonItem, 2> kOutputEditorButtons{{
    {QRect(250, 16, 60, 30), 139, true, 48},   // B0 EQ on/off
    {QRect(1695, 50, 60, 30), 139, true, 72},  // B1 compressor on/off
}};

inline constexpr std::array<EditorComboItem, 2> kOutputEditorCombos{{
    {QRect(115, 180, 110, 24), 160, 1, 18, 50},  // C0 HPF type
    {QRect(115, 226, 110, 24), 160, 1, 18, 53},  // C1 LPF type
}};

inline constexpr std::array<EditorSliderItem, 10> kOutputEditorSliders{{
    {QPoint(10, 96), false, 0, 100, 58},    // K0 Left-Delay (MAIN)
    {QPoint(10, 96), false, 0, 100, 59},    // K1 Delay (AUX)
    {QPoint(10, 142), false, 0, 100, 60},   // K2 Right-Delay (MAIN)
    {QPoint(10, 142), false, 0, 5, 76},     // K4 feedback suppressor (AUX)
    {QPoint(10, 204), true, 0, 362, 49},    // K5 HPF frequency
    {QPoint(10, 250), true, 1, 362, 52},    // K6 LPF frequency
    {QPoint(1695, 96), false, 0, 56, 69},   // K7 threshold
    {QPoint(1695, 142), false, 0, 127, 70},  // K8 attack
    {QPoint(1695, 188), false, 0, 127, 71},  // K9 release
    {QPoint(1695, 234), false, 0, 40, 72},   // K10 ratio
}};

/// Thirteen EQ band panels.
inline constexpr int kOutputBandCount = 13;

/// Indices the editor's code handling names.
namespace output_editor {
using namespace editor_control;
inline constexpr int kEqOnButton = 0;
inline constexpr int kCompressorButton = 1;
inline constexpr int kLeftDelaySlider = 0;
inline constexpr int kDelaySlider = 1;
inline constexpr int kRightDelaySlider = 2;
inline constexpr int kFeedbackSuppressorSlider = 3;
inline constexpr int kHighPassSlider = 4;
inline constexpr int kLowPassSlider = 5;
inline constexpr int kThresholdSlider = 6;
inline constexpr int kAttackSlider = 7;
inline constexpr int kReleaseSlider = 8;
inline constexpr int kRatioSlider = 9;
inline constexpr int kCompTitle = 6;
}  // namespace output_editor

}  // namespace rmt4::ui
