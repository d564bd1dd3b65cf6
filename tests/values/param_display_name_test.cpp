#include "values/param_display_name.h"

#include <gtest/gtest.h>

#include "values/param_catalogue.h"

namespace rmt4 {
namespace {

TEST(ParamDisplayName, ReadsTheCatalogueNameInWords) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"ch3.fader", "CH3 fader"},
      {"ch7.eq2.gain", "CH7 EQ band 2 gain"},
      {"main.hpf.freq", "MAIN HPF frequency"},
      {"fx1.send.aux2", "FX1 send to AUX2"},
      {"st9.comp.ratio", "ST9/10 compressor ratio"},
      {"main.eq13.q", "MAIN EQ band 13 Q"},
      {"sys.pfl", "system PFL"},
      {"addr.1109", "address 1109"},
  };
  for (const auto& [name, shown] : cases) EXPECT_EQ(ParamDisplayName(FindParam(name).value()), shown) << name;
}

TEST(ParamDisplayName, ReadsBitNamesInWords) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"ch1.48v", "CH1 48V"},
      {"ch3.send.aux2.pre", "CH3 send to AUX2 pre"},
      {"st9.comp", "ST9/10 compressor"},
  };
  for (const auto& [name, shown] : cases) EXPECT_EQ(DisplayName(name), shown) << name;
}

}  // namespace
}  // namespace rmt4
