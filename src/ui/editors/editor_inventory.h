#pragma once

#include <QPoint>
#include <QRect>

namespace rmt4::ui {

// How the channel editors describe their controls at scale 1, in the
// coordinates of their scrolling content. Each editor lists its own in an
// inventory header; index = the control's number within its kind (L0..,
// B0.., C0.., K0..).

/// The kinds of control an editor holds.
enum class EditorControlKind { kLabel, kButton, kCombo, kSlider };

struct EditorLabelItem {
  QRect rect;
  int fontSize;  ///< at scale 1
};

struct EditorButtonItem {
  QRect rect;
  int pngId;
  bool latched;  ///< a toggle; otherwise a push button
  int code;
};

struct EditorComboItem {
  QRect rect;
  int pngId;
  int style;
  int fontHeight;
  int code;
};

struct EditorSliderItem {
  QPoint position;
  bool thin;  ///< the filter-frequency band without a caption
  int minValue;
  int maxValue;
  int code;
};

inline constexpr int kSliderWidth = 214;
inline constexpr int kSliderHeight = 32;
inline constexpr int kThinSliderHeight = 16;

/// The EQ band panels: 98 × 250 each, 105 apart.
inline constexpr QRect kFirstBandRect(315, 16, 98, 250);
inline constexpr int kBandSpacing = 105;

/// Controls every channel editor has at the same index.
namespace editor_control {
/// Looks of the latched buttons (SkinnedButton::SetState).
inline constexpr int kButtonReleased = 1;
inline constexpr int kButtonPressed = 2;
inline constexpr int kHighPassCombo = 0;
inline constexpr int kLowPassCombo = 1;
inline constexpr int kGainCaption = 0;
inline constexpr int kFreqCaption = 1;
inline constexpr int kQCaption = 2;
inline constexpr int kHighPassLabel = 3;
inline constexpr int kLowPassLabel = 4;
inline constexpr int kEqTitle = 5;
}  // namespace editor_control

}  // namespace rmt4::ui
