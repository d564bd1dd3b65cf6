#include "values/param_display_name.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "values/param_bits.h"
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

TEST(ParamDisplayName, ReadsNamesInEachLanguage) {
  struct Case {
    std::string_view name;
    LanguageIndex language;
    std::string_view shown;
  };
  const Case cases[] = {
      {"ch3.fader", LanguageIndex::SimplifiedChinese, "CH3 推子"},
      {"ch7.eq2.gain", LanguageIndex::TraditionalChinese, "CH7 EQ 頻段 2 增益"},
      {"fx1.send.aux2", LanguageIndex::SimplifiedChinese, "FX1 发送到 AUX2"},
      {"ch7.eq2.gain", LanguageIndex::English, "CH7 EQ band 2 gain"},
  };
  for (const Case& c : cases) EXPECT_EQ(DisplayName(c.name, c.language), c.shown) << c.name;
}

// A word left in English in a Chinese name is a word missing from the table.
TEST(ParamDisplayName, TranslatesEveryWordOfEveryName) {
  std::vector<std::string> names;
  for (const ParamInfo& info : ParamCatalogue()) names.push_back(info.name);
  for (const BitParam& bits : BitParams()) names.push_back(bits.name);
  for (const LanguageIndex language : {LanguageIndex::SimplifiedChinese, LanguageIndex::TraditionalChinese}) {
    for (const std::string& name : names) {
      const std::string shown = DisplayName(name, language);
      EXPECT_TRUE(std::none_of(shown.begin(), shown.end(), [](char c) { return c >= 'a' && c <= 'z'; }))
          << name << " reads " << shown;
    }
  }
}

}  // namespace
}  // namespace rmt4
