#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "dsp/band_field_steps.h"
#include "dsp/band_field_text.h"

namespace rmt4 {
namespace {

constexpr BandFieldFormat kGainFormat{BandFieldFormat::Mode::kFixedDecimals, 1};
constexpr BandFieldFormat kFrequencyFormat{BandFieldFormat::Mode::kCharacterLimit, 5};
constexpr BandFieldFormat kQFormat{BandFieldFormat::Mode::kCharacterLimit, 4};

TEST(BandFieldText, FormatsEachFieldAsTheBandPanelShowsIt) {
  const struct {
    BandField field;
    BandFieldFormat format;
    double value;
    const char* text;
  } cases[] = {
      {BandField::kFrequency, kFrequencyFormat, 1000, "1000"},
      {BandField::kFrequency, kFrequencyFormat, 99.5, "99.5"},
      {BandField::kFrequency, kFrequencyFormat, 10.5, "10.5"},
      {BandField::kFrequency, kFrequencyFormat, 20600, "20600"},
      {BandField::kQ, kQFormat, 0.4, "0.40"},
      {BandField::kQ, kQFormat, 12.7, "12.7"},
      {BandField::kQ, kQFormat, 128, "128"},  // "128." loses its dangling point
      {BandField::kGain, kGainFormat, 3.27, "3.3"},
      {BandField::kGain, kGainFormat, -24, "-24.0"},
      {BandField::kGain, {BandFieldFormat::Mode::kFixedDecimals, 2}, 0.125, "0.12"},
      {BandField::kGain, kGainFormat, -0.0, "0.0"},  // zero never shows a sign
      {BandField::kGain, kGainFormat, -0.04, "0.0"},
      {BandField::kGain, kGainFormat, -0.05, "-0.1"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatBandField(c.field, c.format, c.value), c.text) << c.value;
}

TEST(BandFieldText, ReadsTypedTextAsAFiniteNumber) {
  const struct {
    const char* text;
    std::optional<double> value;  // none: not a number
  } cases[] = {
      {"15", 15},
      {" 3.27", 3.27},
      {"3,5", 3.5},
      {"-6", -6},
      {"+2.", 2},
      {".5", 0.5},
      {"12dB", 12},
      {"1e3", 1000},
      {"2e", 2},
      {"1.2.3", 1.2},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"abc", std::nullopt},
      {"-", std::nullopt},
      {".", std::nullopt},
      {"nan", std::nullopt},
      {"inf", std::nullopt},
      {"-inf", std::nullopt},
      {"1e-999", 0},
      {"-0", 0},
      {"1e999", 1.7976931348623157e308},
      {"-1e999", -1.7976931348623157e308},
  };
  for (const auto& c : cases) {
    const std::optional<double> value = ParseBandFieldText(c.text);
    ASSERT_EQ(value.has_value(), c.value.has_value()) << '"' << c.text << '"';
    if (!value) continue;
    EXPECT_DOUBLE_EQ(*value, *c.value) << '"' << c.text << '"';
    EXPECT_FALSE(std::signbit(*value) && *value == 0) << "negative zero from \"" << c.text << '"';
  }
  // Only the first characters count: a pasted wall of digits stays bounded.
  EXPECT_EQ(ParseBandFieldText(std::string(kMaxBandFieldText, '1') + "999"),
            ParseBandFieldText(std::string(kMaxBandFieldText, '1')));
  EXPECT_FALSE(ParseBandFieldText(std::string(kMaxBandFieldText, ' ') + "5"));
}

// Frequency on the band grid (10.5 Hz at its bottom), Q on its grid, gain in steps within its range.
TEST(BandFieldSteps, EachFieldMovesOnItsGridOrWithinItsRange) {
  constexpr auto kF = BandField::kFrequency;
  constexpr auto kQ = BandField::kQ;
  constexpr auto kG = BandField::kGain;
  const struct {
    BandField field;
    double from;
    int delta;
    double to;
  } cases[] = {
      {kF, 1000, +1, 1020}, {kF, 1000, -5, 981},   {kF, 10.5, -1, 10.5},   {kF, 19.7, -1, 10.5}, {kF, 15, 0, 19.7},
      {kF, 0, 0, 10.5},     {kF, 25000, 0, 20600}, {kF, 1e308, -1, 20200}, {kF, 1005, 0, 1020},  {kQ, 128, +1, 128},
      {kF, 6000, +1, 6110}, {kF, 6000, -1, 5990},  {kQ, 1.05, +1, 1.06},
      {kQ, 0.1, 0, 0.4},    {kQ, 1.27, 0, 1.3},    {kQ, 1, +3, 1.06},      {kQ, 500, -1, 121},   {kG, 12, +1, 12},
      {kG, 0, -5, -0.1},    {kG, -24, -1, -24},    {kG, 3.27, 0, 3.27},    {kG, 40, 0, 12},      {kG, -1e308, 0, -24},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(StepBandField(c.field, c.from, c.delta, GainRange{}), c.to)
        << static_cast<int>(c.field) << ": " << c.from << " by " << c.delta;
  }
  EXPECT_DOUBLE_EQ(StepBandField(kG, 0, +1, GainRange{-10, 10, 0.5}), 0.5);
}

}  // namespace
}  // namespace rmt4
