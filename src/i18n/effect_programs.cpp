#include "i18n/effect_programs.h"

#include <array>

namespace rmt4 {
namespace {

constexpr std::array<std::string_view, kEffectProgramCount> kListA{
    "REVERB HALL", "REVERB ROOM", "REVERB PLATE", "REVERB VOCAL1", "REVERB VOCAL2", "VOCAL ECHO1",
    "VOCAL ECHO2", "DELAY1",      "DELAY2",       "MOD.DELAY",     "REVERB GATE",   "PITCH CHANGE",
    "CHORUS",      "PHASER",      "FLANGE",       "TREMOLO",
};

constexpr std::array<std::string_view, kEffectProgramCount> kListB{
    "REVERB HALL", "REVERB ROOM", "REVERB PLATE", "REVERB VOCAL1", "REVERB VOCAL2", "VOCAL ECHO1",
    "VOCAL ECHO2", "DELAY1",      "DELAY2",       "EARLY REF.",    "GATE REVERB",   "VOCAL DOUBLER",
    "FLANGE",      "SYNPHONIC",   "DISTORTION",   "TAP DELAY",
};

}  // namespace

std::span<const std::string_view, kEffectProgramCount> EffectProgramNames(EffectProgramList list) noexcept {
  return list == EffectProgramList::B ? kListB : kListA;
}

}  // namespace rmt4
