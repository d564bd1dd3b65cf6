#include "values/input_editor_conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "dsp/band_field_steps.h"
#include "i18n/label_id.h"
#include "i18n/label_text.h"
#include "i18n/language_guard.h"
#include "values/editor_encodings.h"
#include "values/filter_values.h"
#include "values/level_table.h"

namespace rmt4 {
namespace {

class InputEditorConversionsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SetCurrentLanguage(LanguageIndex::English)); }
  LanguageGuard language_;
};

struct FilterRowCase {
  int row;
  int raw;
  const char* highPassText;
  const char* lowPassText;
};

TEST_F(InputEditorConversionsTest, FilterRowsWriteTheirWordAndText) {
  const FilterRowCase cases[] = {
      {0, 0x8000, "HPF: OFF", "LPF: OFF"},
      {1, 0x80C5, "HPF: 19.7Hz", "LPF: 19.7Hz"},
      {85, 0x8000 + 990, "HPF: 99.0Hz", "LPF: 99.0Hz"},
      {86, 101, "HPF:  101Hz", "LPF: 101Hz"},
      {205, 1000, "HPF: 1000Hz", "LPF: 1000Hz"},
      {362, 20600, "HPF: 20600Hz", "LPF: 20600Hz"},
  };
  for (const FilterRowCase& c : cases) {
    SCOPED_TRACE(c.row);
    EXPECT_EQ(FilterRowRaw(c.row), c.raw);
    EXPECT_EQ(FilterFrequencyText(CutFilter::kHighPass, c.row), c.highPassText);
    EXPECT_EQ(FilterFrequencyText(CutFilter::kLowPass, c.row), c.lowPassText);
  }
}

TEST_F(InputEditorConversionsTest, ConsoleFilterWordsFindTheFirstRowAtOrAbove) {
  const std::pair<int, int> cases[] = {{0x8000, 0},  {0x8001, 0}, {0x80C5, 1},  {0x83E0, 86},
                                       {0x83E3, 86}, {100, 86},   {20600, 362}, {30000, 362}};
  for (const auto& [raw, row] : cases) EXPECT_EQ(FilterRowForRaw(static_cast<std::uint16_t>(raw)), row) << raw;
  EXPECT_EQ(DecodeFilterFrequency(0x8000), 10.0);
  EXPECT_EQ(DecodeFrequency(0x8000), 0.0);
}

TEST_F(InputEditorConversionsTest, EveryCodeRoundTripsOverItsWholeRange) {
  for (int row = kFilterOffRow; row <= kFilterTopRow; ++row) EXPECT_EQ(FilterRowForRaw(FilterRowRaw(row)), row);
  for (std::size_t i = 1; i < BandFrequencyStepTable.size(); ++i) {
    const double hz = BandFrequencyStepTable[i];
    const double back = DecodeFrequency(static_cast<std::uint16_t>(BandFrequencyRaw(hz)));
    EXPECT_EQ(StepBandField(BandField::kFrequency, back, 0, GainRange{}), hz) << hz;
  }
  for (const double q : QStepTable) EXPECT_EQ(DecodeQ(static_cast<std::uint16_t>(BandQRaw(q))), q) << q;
  for (int raw = 260; raw <= 620; ++raw) EXPECT_EQ(BandGainRaw(DecodeGainDb(static_cast<std::uint16_t>(raw))), raw);
  for (int raw = 0; raw <= 1000; ++raw) EXPECT_EQ(DelayRaw(DelayPosition(raw)), raw);
  for (int raw = 0; raw <= 1270; ++raw) EXPECT_EQ(TenthsRaw(TenthsPosition(raw)), raw);
  for (int raw = 0; raw <= kNoiseGateTop; ++raw) EXPECT_EQ(NoiseGateRaw(NoiseGatePosition(raw)), raw);
  for (int position = 0; position <= kSendTop; ++position) {
    for (const bool post : {false, true}) {
      const SendState state = AuxSendState(AuxSendRaw(position, post));
      EXPECT_EQ(state.position, position);
      EXPECT_EQ(state.postFader, post);
    }
    EXPECT_EQ(SendPosition(SendRaw(position)), position);
  }
  for (int position = 0; position <= kRatioTop; ++position) {
    for (const bool off : {false, true}) {
      const RatioState state = RatioStateOf(RatioRaw(position, off));
      EXPECT_EQ(state.position, position);
      EXPECT_EQ(state.compressorOff, off);
    }
  }
  for (int item = 0; item < static_cast<int>(kFilterTypeItems.size()); ++item) {
    for (const CutFilter filter : {CutFilter::kHighPass, CutFilter::kLowPass}) {
      EXPECT_EQ(FilterTypeItemForCode(filter, FilterTypeCode(filter, item)), item);
    }
  }
}

TEST_F(InputEditorConversionsTest, BandWords) {
  EXPECT_EQ(BandFrequencyRaw(99.5), 33763);
  EXPECT_EQ(BandFrequencyRaw(100), 100);
  EXPECT_EQ(BandFrequencyRaw(19.7), 0x80C5);
  EXPECT_EQ(BandGainRaw(-15.0), 350);
  EXPECT_EQ(DecodeGainDb(600), 10.0);
  EXPECT_EQ(BandGainRaw(12.0), 620);
  EXPECT_EQ(BandQRaw(0.4), 40);
}

TEST_F(InputEditorConversionsTest, GainDelayAndGateTexts) {
  const std::pair<int, int> gains[] = {{0, -320}, {46, -14}, {47, -7}, {48, 0}, {49, 6}, {63, 100}};
  for (const auto& [step, tenths] : gains) EXPECT_EQ(GainTable[static_cast<std::size_t>(step)], tenths) << step;
  EXPECT_EQ(GainRaw(48), 48);
  EXPECT_EQ(GainText(48), "GAIN: 0.0dB");
  EXPECT_EQ(GainText(0), "GAIN: -32.0dB");
  EXPECT_EQ(GainText(63), "GAIN: 10.0dB");
  EXPECT_EQ(DelayRaw(25), 250);
  EXPECT_EQ(DelayText(25), "Delay:   2.5ms");
  EXPECT_EQ(NoiseGateRaw(120), 0);
  EXPECT_EQ(NoiseGateText(120), "Noise Gate:     0db");
  EXPECT_EQ(NoiseGateRaw(0), 120);
  EXPECT_EQ(NoiseGateText(0), "Noise Gate:   -120db");
}

TEST_F(InputEditorConversionsTest, SendsCarryThePreFaderFlag) {
  EXPECT_EQ(AuxSendRaw(180, false), 0x84B0);
  EXPECT_EQ(AuxSendRaw(180, true), 1200);
  const SendState consoleWord = AuxSendState(0x8514);
  EXPECT_EQ(consoleWord.position, 280);
  EXPECT_FALSE(consoleWord.postFader);
  EXPECT_EQ(SendPosition(1001), 81);
  EXPECT_EQ(SendPosition(1301), std::nullopt);
  EXPECT_EQ(SendRaw(0), 0);
  EXPECT_EQ(SendText("Efx", 1, 0), "Efx1:- \u221E");
  EXPECT_EQ(SendText("Efx", 2, 180), "Efx2:0.0dB");
  EXPECT_EQ(SendText("AUX", 6, 280), "AUX6:10.0dB");
  EXPECT_EQ(SendText("Main", 0, 80), "Main:-20.0dB");
}

TEST_F(InputEditorConversionsTest, CompressorWords) {
  EXPECT_EQ(RatioRaw(40, false), 1000);
  EXPECT_EQ(RatioText(40), "Ratio:   100.0");
  const RatioState off = RatioStateOf(0x83E8);
  EXPECT_EQ(off.position, 40);
  EXPECT_TRUE(off.compressorOff);
  EXPECT_EQ(RatioStateOf(1001).position, std::nullopt);
  EXPECT_EQ(TenthsRaw(0), 0);
  EXPECT_EQ(ThresholdText(0), "Threshold:   -50dBu");
  EXPECT_EQ(TenthsRaw(56), 560);
  EXPECT_EQ(ThresholdText(56), "Threshold:     6dBu");
  EXPECT_EQ(AttackText(12), "Attack:    12ms");
}

TEST_F(InputEditorConversionsTest, FilterTypeCodes) {
  EXPECT_EQ(FilterTypeCode(CutFilter::kHighPass, 4), 20);  // Bwoth-24dB
  EXPECT_EQ(FilterTypeCode(CutFilter::kLowPass, 4), 21);
  const std::pair<int, int> highPassItems[] = {{12, 5}, {0, 0}, {3, 3}, {6, 6}, {7, 0}, {99, 0}, {-1, 0}};
  for (const auto& [code, item] : highPassItems) EXPECT_EQ(FilterTypeItemForCode(CutFilter::kHighPass, code), item);
}

TEST_F(InputEditorConversionsTest, TextsFollowTheLanguage) {
  ASSERT_TRUE(SetCurrentLanguage(LanguageIndex::SimplifiedChinese));
  EXPECT_EQ(FilterFrequencyText(CutFilter::kHighPass, 86), "高通: 101Hz");
  EXPECT_EQ(FilterFrequencyText(CutFilter::kLowPass, 0), "低通: OFF");
  EXPECT_EQ(SendText(LabelText(LabelId::Efx), 1, 0), "效果1:- \u221E");
  EXPECT_EQ(DelayText(25), "延时:   2.5ms");
}

}  // namespace
}  // namespace rmt4
