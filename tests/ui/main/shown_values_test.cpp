// A console word reads the same value in the window as in the parameter
// catalogue (rmt4ctl, scene diffs): the texts differ in format only.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>

#include "i18n/language_guard.h"
#include "recording_host.h"
#include "strip_test_host.h"
#include "ui/controls/band_panel.h"
#include "ui/controls/skinned_label.h"
#include "ui/editors/input_editor.h"
#include "ui/main/input_strip.h"
#include "ui/main/output_strip.h"
#include "values/editor_codes.h"
#include "values/param_catalogue.h"

namespace rmt4::ui::strips {
namespace {

/// The number a text shows: "- ∞" and "-inf" are minus infinity, "kHz" counts thousands.
double ShownNumber(const std::string& text) {
  if (text.find("inf") != std::string::npos || text.find("\u221E") != std::string::npos) return -INFINITY;
  char* end = nullptr;
  const double number = std::strtod(text.c_str(), &end);
  EXPECT_NE(end, text.c_str()) << "no number in '" << text << "'";
  return text.find("kHz") != std::string::npos ? number * 1000 : number;
}

TEST(ShownValues, WindowAndCatalogueReadEveryWordOfAKindAlike) {
  LanguageGuard guard;
  ASSERT_TRUE(SetCurrentLanguage(LanguageIndex::English));
  ParamTable params;
  StripHost strips(params);
  ::rmt4::test::RecordingHost editorHost(QSize(900, 300), Qt::darkGray);
  auto* editor = new InputEditor(&editorHost);
  editor->SetChannel(3);  // CH4
  const auto strip = [&](const SkinnedLabel& label) {
    return [&](ParamAddress address, std::uint16_t raw) {
      Arrive(params, strips.bank, address, raw);
      return label.text().toStdString();
    };
  };
  const auto band = [editor](int code, BandField field) {
    return [editor, code, field](ParamAddress, std::uint16_t raw) {
      editor->ApplyValue(code, raw);
      return editor->band(0).fieldText(field).toStdString();
    };
  };
  const struct {
    const char* name;
    int first;
    int last;
    std::function<std::string(ParamAddress, std::uint16_t)> windowText;
  } walks[] = {
      {"ch1.fader", 0, 0x7FFF, strip(strips.bank.inputStrip(0).levelLabel())},
      {"main.fader", 900, 960, strip(strips.bank.outputStrip().levelLabel())},
      {"ch4.eq1.freq", 0, 0xFFFF, band(editor_code::kBandFrequency, BandField::kFrequency)},
      {"ch4.eq1.q", 0, 999, band(editor_code::kBandQ, BandField::kQ)},  // four characters: hundredths up to Q 9.99
      {"ch4.eq1.gain", 260, 620, band(editor_code::kBandGain, BandField::kGain)},  // the band fader's -24..+12 dB
  };
  for (const auto& walk : walks) {
    const ParamAddress address = *FindParam(walk.name);
    int differing = 0;
    for (int raw = walk.first; raw <= walk.last && differing < 5; ++raw) {
      const std::string window = walk.windowText(address, static_cast<std::uint16_t>(raw));
      const std::string catalogue = FormatValue(address, static_cast<std::uint16_t>(raw));
      const double shown = ShownNumber(window);
      const double read = ShownNumber(catalogue);
      if (shown == read || std::abs(shown - read) < 1e-9 * std::abs(read)) continue;
      ++differing;
      ADD_FAILURE() << walk.name << " " << raw << ": the window shows '" << window << "', the catalogue '" << catalogue << "'";
    }
  }
}

}  // namespace
}  // namespace rmt4::ui::strips
