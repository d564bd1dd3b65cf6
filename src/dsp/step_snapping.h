#pragma once

namespace rmt4 {

inline constexpr double kMinQ = 0.4;
inline constexpr double kMaxQ = 128.0;

/// The nearest FrequencyStepTable entry at or above hz, limited to 19..20600 Hz.
/// NaN reads as the lowest entry, like an unreadable entry field.
[[nodiscard]] double SnapFrequency(double hz);

/// q limited to 0.4..128 (NaN reads as 0.4), without snapping to the grid.
[[nodiscard]] double ClampQ(double q);

/// The nearest QStepTable entry at or above ClampQ(q).
[[nodiscard]] double SnapQ(double q);

/// One FrequencyStepTable step up or down from hz. A frequency between two
/// entries counts as the entry above it, so it steps down to the entry below
/// it and up to the entry two above. Frequencies above the table and a step
/// down from the bottom entry (or below it) come back unchanged; the top entry
/// steps up to itself. NaN steps to the lowest entry.
[[nodiscard]] double StepFrequency(double hz, bool up);

}  // namespace rmt4
