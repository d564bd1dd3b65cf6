// Texts the user types: band field values, scene names, parameter names and
// values. A typed value must always come out finite and inside its field's
// range, a scene name that passes the check must be a plain file name, and
// a parameter value that is taken must print as text that types back to it.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "dsp/band_field_steps.h"
#include "dsp/band_field_text.h"
#include "files/scene_name.h"
#include "values/param_catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const double typed = rmt4::ParseBandFieldText(text).value_or(0.0);
  if (!std::isfinite(typed)) std::abort();
  const rmt4::GainRange gains;
  for (const auto field : {rmt4::BandField::kGain, rmt4::BandField::kFrequency, rmt4::BandField::kQ}) {
    const double stored = rmt4::StepBandField(field, typed, 0, gains);
    if (!std::isfinite(stored)) std::abort();
    if (field == rmt4::BandField::kGain && (stored < gains.min || stored > gains.max)) std::abort();
    const std::string shown = rmt4::FormatBandField(field, {rmt4::BandFieldFormat::Mode::kCharacterLimit, 5}, stored);
    if (shown.size() > 5) std::abort();
  }

  if (rmt4::CheckSceneName(text) == rmt4::SceneNameFault::kNone) {
    if (text.find('/') != std::string_view::npos || text.find('\\') != std::string_view::npos ||
        text.find("..") != std::string_view::npos || (!text.empty() && text.front() == '.')) {
      std::abort();
    }
  }
  // The first two bytes choose the parameter, the rest is the typed value;
  // the whole text is also tried as a name and as a pattern.
  (void)rmt4::FindParam(text);
  (void)rmt4::MatchParams(text);
  if (size >= 2) {
    const auto address = static_cast<rmt4::ParamAddress>((data[0] | (data[1] << 8)) % rmt4::kParamCount);
    const rmt4::ParsedValue parsed = rmt4::ParseValue(address, text.substr(2));
    if (parsed.raw) {
      const rmt4::ParsedValue again = rmt4::ParseValue(address, rmt4::FormatValue(address, *parsed.raw));
      if (again.raw != parsed.raw) std::abort();
    } else if (parsed.error.empty()) {
      std::abort();  // a refusal always says why
    }
  }
  return 0;
}
