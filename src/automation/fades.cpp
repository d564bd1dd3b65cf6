#include "automation/fades.h"

namespace rmt4 {

bool Fades::CanFade(ParamAddress) { return false; }
void Fades::Start(ParamAddress, std::uint16_t, const RequestedEdit&, double, std::int64_t) {}
void Fades::Cancel(ParamAddress) {}
std::vector<RequestedEdit> Fades::Tick(std::int64_t, const ValueAt&) { return {}; }
bool Fades::Empty() const { return true; }
bool Fades::Fading(ParamAddress) const { return false; }

}  // namespace rmt4
