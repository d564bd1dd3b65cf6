#include "dsp/cut_catalogue.h"

#include <initializer_list>

namespace rmt4 {

namespace {

CutFilterType Cascade(CutSide side, std::initializer_list<SectionRecipe> sections) {
  CutFilterType type{.side = side};
  for (const SectionRecipe& section : sections) {
    type.sectionStore.at(type.sectionCount++) = section;
  }
  return type;
}

CutFilterType HighPass(std::initializer_list<SectionRecipe> sections) {
  return Cascade(CutSide::HighPass, sections);
}

CutFilterType LowPass(std::initializer_list<SectionRecipe> sections) {
  return Cascade(CutSide::LowPass, sections);
}

constexpr SectionRecipe Hp1{SectionShape::HighPass1};
constexpr SectionRecipe Lp1{SectionShape::LowPass1};
constexpr SectionRecipe HpQ{SectionShape::HighPassPointQ};
constexpr SectionRecipe LpQ{SectionShape::LowPassPointQ};

constexpr SectionRecipe Hp2(double k) {
  return {SectionShape::HighPass2, k};
}

constexpr SectionRecipe Lp2(double k) {
  return {SectionShape::LowPass2, k};
}

}  // namespace

// The constants are the device's. "Lnkwtz-12dB" (12, 13) is the same
// near-Butterworth section as "Bwoth-12dB" (8, 9); 9 and 13 are identical.
std::optional<CutFilterType> FindCutFilterType(CutTypeCode code) {
  switch (code) {
    case 8: return HighPass({Hp2(0.4997)});
    case 9: return LowPass({Lp2(0.5019)});
    case 10: return HighPass({Hp2(0.333)});
    case 11: return LowPass({Lp2(0.3345)});
    case 12: return HighPass({Hp2(0.4995)});
    case 13: return LowPass({Lp2(0.5019)});
    case 14: return HighPass({Hp1, Hp2(0.999)});
    case 15: return LowPass({Lp1, Lp2(1.0048)});
    case 16: return HighPass({Hp1, Hp2(0.333)});
    case 17: return LowPass({Lp1, Lp2(0.3345)});
    case 18: return HighPass({Hp1, Hp2(0.4995)});
    case 19: return LowPass({Lp1, Lp2(0.5019)});
    case 20: return HighPass({Hp2(1.7039), Hp2(0.2925)});
    case 21: return LowPass({Lp2(1.717), Lp2(0.2939)});
    case 22: return HighPass({Hp2(0.333), Hp2(0.333)});
    case 23: return LowPass({Lp2(0.3345), Lp2(0.3345)});
    case 24: return HighPass({Hp2(0.4995), Hp2(0.4995)});
    case 25: return LowPass({Lp2(0.5019), Lp2(0.5019)});
    case 26: return HighPass({Hp2(6.6331), Hp2(0.8136), Hp2(0.3629), Hp2(0.2607)});
    case 27: return LowPass({Lp2(6.6331), Lp2(0.8136), Lp2(0.3629), Lp2(0.2607)});
    case 28: return HighPass({Hp2(0.333), Hp2(0.333), Hp2(0.333), Hp2(0.333)});
    case 29: return LowPass({Lp2(0.3345), Lp2(0.3345), Lp2(0.3345), Lp2(0.3345)});
    case 30: return HighPass({Hp2(1.7054), Hp2(0.2926), Hp2(1.7054), Hp2(0.2926)});
    case 31: return LowPass({Lp2(1.717), Lp2(0.2939), Lp2(1.717), Lp2(0.2939)});
    case 32: return HighPass({HpQ});
    case 33: return LowPass({LpQ});
    case 36: return HighPass({HpQ, HpQ});
    case 37: return LowPass({LpQ, LpQ});
    case 40:
    case 42:
    case 44: return HighPass({Hp1});
    case 41:
    case 43:
    case 45: return LowPass({Lp1});
    case 52: return HighPass({Hp1, Hp2(1.7039), Hp1, Hp2(0.2925)});
    case 53: return LowPass({Lp2(2.57548), Lp2(0.901998), Lp2(0.602412)});
    case 54: return HighPass({Hp2(0.577062), Hp2(0.577062), Hp2(0.577062)});
    case 55: return LowPass({Lp2(0.57836), Lp2(0.57836), Lp2(0.57836)});
    case 56: return HighPass({Hp2(0.4995), Hp2(0.4995), Hp2(0.4995)});
    case 57: return LowPass({Lp2(0.5019), Lp2(0.5019), Lp2(0.5019)});
    default: return std::nullopt;
  }
}

}  // namespace rmt4
