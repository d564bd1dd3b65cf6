#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace rmt4 {

/// The device's 16-bit filter-type value of a high-pass or low-pass filter.
using CutTypeCode = std::uint16_t;

/// Which point of the editor a cut filter follows: its frequency, its Q and
/// its off threshold.
enum class CutSide : std::uint8_t { HighPass, LowPass };

enum class SectionShape : std::uint8_t {
  HighPass1,
  LowPass1,
  HighPass2,       ///< second order, Q = sqrt(k)
  LowPass2,        ///< second order, Q = sqrt(k)
  HighPassPointQ,  ///< second order at the high-pass point's own Q
  LowPassPointQ,   ///< second order at the low-pass point's own Q
};

/// One section of a cut filter. k is the square of the section's Q, the
/// constant the device's filter types are defined by; only HighPass2 and
/// LowPass2 use it.
struct SectionRecipe {
  SectionShape shape;
  double k = 0.0;
};

inline constexpr std::size_t kMaxCutSections = 4;

/// A cut filter type: the side it follows and its cascade of sections.
struct CutFilterType {
  CutSide side = CutSide::HighPass;
  std::array<SectionRecipe, kMaxCutSections> sectionStore{};
  std::size_t sectionCount = 0;

  [[nodiscard]] std::span<const SectionRecipe> Sections() const {
    return {sectionStore.data(), sectionCount};
  }
};

/// The filter type that code stands for, or nothing for codes whose curve is
/// flat: unknown codes and the device's reserved codes within 8..63.
[[nodiscard]] std::optional<CutFilterType> FindCutFilterType(CutTypeCode code);

}  // namespace rmt4
