#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace rmt4 {

/// The two sets of built-in effect programs; the effect-return editor shows
/// list A for Fx1 and list B for Fx2. Their names are the same in every language.
enum class EffectProgramList {
  A,
  B,
};

inline constexpr std::size_t kEffectProgramCount = 16;

/// Names of built-in programs 1..16 of `list`, in program order.
[[nodiscard]] std::span<const std::string_view, kEffectProgramCount> EffectProgramNames(
    EffectProgramList list) noexcept;

}  // namespace rmt4
