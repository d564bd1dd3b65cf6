#pragma once

namespace rmt4::ui {

/// Makes the program's own controls known to screen readers: faders,
/// sliders and EQ band gains as sliders, latched buttons as check buttons,
/// the others as push buttons, the skinned drop-downs as combo boxes, the
/// band fields as text fields and the skinned labels as text, each with its
/// name and, for a control bound with DescribeControl, the value in words.
/// Installed once per application.
void InstallControlAccessibility();

}  // namespace rmt4::ui
