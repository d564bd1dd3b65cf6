// Where each editor control and each header control of the channel editor lives.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "values/editor_addresses.h"
#include "values/editor_codes.h"
#include "values/editor_encodings.h"

namespace rmt4 {
namespace {

using namespace editor_code;

struct CodeCase {
  int channel;
  int code;
  EditorAddresses expected;
};

class EditorCodeAddressTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(EditorCodeAddressTest, ControlWritesItsAddress) {
  EXPECT_EQ(EditorCodeAddresses(GetParam().channel, GetParam().code), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, EditorCodeAddressTest,
    ::testing::Values(
        // CH1 block at 46, DIGTAL in the eleventh block at 476.
        CodeCase{0, kBandFrequency, {74}}, CodeCase{0, kBandGain + 3, {87}}, CodeCase{0, kBandQ + 1, {80}},
        CodeCase{9, kEqOn, {498}}, CodeCase{2, kHpfType, {155}}, CodeCase{2, kHpfFrequency, {156}},
        CodeCase{2, kLpfType, {157}}, CodeCase{2, kLpfFrequency, {158}}, CodeCase{0, kDelay, {63}},
        CodeCase{0, kGain, {48}}, CodeCase{0, kNoiseGate, {47}}, CodeCase{8, kEfx1Send, {405}},
        CodeCase{8, kEfx2Send, {406}}, CodeCase{0, kAux1Send + 2, {53}}, CodeCase{0, kThreshold, {67}},
        CodeCase{0, kAttack, {65}}, CodeCase{0, kRelease, {66}}, CodeCase{0, kRatio, {64}},
        // The effect returns.
        CodeCase{10, kBandFrequency + 3, {1139}}, CodeCase{11, kBandGain, {1165}}, CodeCase{11, kBandQ + 2, {1174}},
        CodeCase{10, kEqOn, {1121}}, CodeCase{11, kLpfFrequency, {1162}}, CodeCase{10, kAux1Send + 5, {1118}},
        CodeCase{11, kAux1Send, {1150}}, CodeCase{10, kMainSend, {1119, 1120}}, CodeCase{11, kMainSend, {1156, 1157}},
        CodeCase{10, kEffectParameter1, {1143}}, CodeCase{11, kEffectParameter2, {1181}},
        CodeCase{10, kEffectProgram, {26}}, CodeCase{11, kStoreEffectProgram, {27}},
        CodeCase{11, kEffectProgramType, {1179}},
        // Outputs: AUX4 band 1 at 783..785, AUX6 band 13 frequency at 967, MAIN's delays.
        CodeCase{16, kBandFrequency, {783}}, CodeCase{16, kBandGain, {784}}, CodeCase{16, kBandQ, {785}},
        CodeCase{18, kBandFrequency + 12, {967}}, CodeCase{12, kEqOn, {981}}, CodeCase{12, kLpfFrequency, {985}},
        CodeCase{12, kDelay, {973}}, CodeCase{12, kGain, {973}}, CodeCase{12, kNoiseGate, {1041}},
        CodeCase{12, output_code::kRatio, {974}}, CodeCase{12, output_code::kAttack, {975}},
        CodeCase{12, output_code::kRelease, {976}}, CodeCase{12, output_code::kThreshold, {977}},
        CodeCase{12, kHpfType, {982}}, CodeCase{13, kLpfType, {576}}, CodeCase{13, output_code::kDelay, {565}},
        CodeCase{13, output_code::kRatio, {566}}, CodeCase{13, output_code::kThreshold, {569}},
        CodeCase{14, output_code::kFeedbackSuppressor, {638}}, CodeCase{18, output_code::kFeedbackSuppressor, {910}},
        CodeCase{12, output_code::kFeedbackSuppressor, {}}, CodeCase{14, output_code::kRightDelay, {}},
        // What a channel does not have.
        CodeCase{10, kDelay, {}}, CodeCase{10, kRatio, {}}, CodeCase{0, kMainSend, {}},
        CodeCase{0, kBandFrequency + 4, {}}, CodeCase{13, kDelay, {}}, CodeCase{-1, kEqOn, {}}),
    [](const ::testing::TestParamInfo<CodeCase>& each) {
      const CodeCase& c = each.param;
      return "Channel" + (c.channel < 0 ? std::string("None") : std::to_string(c.channel)) + "Code" +
             std::to_string(c.code);
    });

// Every control code of a mixing channel and of a return has an address of its own
// inside that channel's part of the table.
TEST(EditorCodeAddressWalk, EveryCodeOfEveryChannelHasItsOwnAddress) {
  std::vector<int> channelCodes{kEqOn, kHpfFrequency, kHpfType, kLpfFrequency, kLpfType, kDelay, kGain, kNoiseGate,
                                kEfx1Send, kEfx2Send, kThreshold, kAttack, kRelease, kRatio};
  std::vector<int> returnCodes{kEqOn, kHpfFrequency, kHpfType, kLpfFrequency, kLpfType, kMainSend,
                               kEffectParameter1, kEffectParameter2, kEffectProgramType};
  for (int band = 0; band < 4; ++band) {
    for (std::vector<int>* codes : {&channelCodes, &returnCodes}) {
      codes->insert(codes->end(), {kBandFrequency + band, kBandQ + band, kBandGain + band});
    }
  }
  for (int aux = 0; aux < 6; ++aux) {
    channelCodes.push_back(kAux1Send + aux);
    returnCodes.push_back(kAux1Send + aux);
  }
  std::set<ParamAddress> all;
  for (int channel = 0; channel <= kFx2Channel; ++channel) {
    const bool isReturn = channel >= kFx1Channel;
    for (int code : isReturn ? returnCodes : channelCodes) {
      const EditorAddresses addresses = EditorCodeAddresses(channel, code);
      ASSERT_FALSE(addresses.empty()) << "channel " << channel << " code " << code;
      for (ParamAddress a : addresses) {
        EXPECT_TRUE(all.insert(a).second) << "address " << a << " used twice";
        if (isReturn) {
          EXPECT_TRUE(a >= 1110 && a <= 1184) << a;
        } else {
          EXPECT_TRUE(a >= InputBlockBase(channel) && a < InputBlockBase(channel) + kInputBlockSize) << a;
        }
      }
    }
  }
}

// Every output code of MAIN and of each AUX bus has an address of its own inside that bus's part of the table.
TEST(EditorCodeAddressWalk, EveryOutputCodeOfEveryBusHasItsOwnAddress) {
  namespace out = output_code;
  std::vector<int> common{kEqOn,          kHpfFrequency, kHpfType,      kLpfFrequency, kLpfType,
                          out::kThreshold, out::kAttack,  out::kRelease, out::kRatio};
  for (int band = 0; band < 13; ++band) {
    common.insert(common.end(), {kBandFrequency + band, kBandQ + band, kBandGain + band});
  }
  std::set<ParamAddress> all;
  for (int channel = kMainChannel; channel <= kLastEditorChannel; ++channel) {
    const bool main = channel == kMainChannel;
    std::vector<int> codes = common;
    if (main) {
      codes.insert(codes.end(), {out::kLeftDelay, out::kRightDelay});
    } else {
      codes.insert(codes.end(), {out::kDelay, out::kFeedbackSuppressor});
    }
    const int first = main ? 970 : 562 + 68 * (channel - kAux1Channel);
    const int last = main ? 1041 : first + 67;
    for (int code : codes) {
      const EditorAddresses addresses = EditorCodeAddresses(channel, code);
      ASSERT_EQ(addresses.size(), 1U) << "channel " << channel << " code " << code;
      EXPECT_TRUE(all.insert(addresses.front()).second) << "address " << addresses.front() << " used twice";
      EXPECT_TRUE(addresses.front() >= first && addresses.front() <= last) << addresses.front();
    }
  }
}

TEST(EditorEncodings, FrequencyQAndGain) {
  struct FrequencyCase {
    double hz;
    std::uint16_t raw;
  };
  for (const FrequencyCase& c : {FrequencyCase{19.7, 0x80C5}, FrequencyCase{99.5, 33763}, FrequencyCase{80.3, 33571},
                                 FrequencyCase{100, 100}, FrequencyCase{20600, 20600}}) {
    EXPECT_EQ(EncodeFrequency(c.hz), c.raw) << c.hz;
    EXPECT_DOUBLE_EQ(DecodeFrequency(c.raw), std::round(c.hz * 10) / 10) << c.hz;
  }
  EXPECT_EQ(DecodeCutFrequency(kCutFilterOff, 10.0), 10.0);
  EXPECT_EQ(DecodeCutFrequency(0x83E0, 10.0), 99.2);
  EXPECT_EQ(EncodeQ(1.15), 115);
  EXPECT_DOUBLE_EQ(DecodeQ(250), 2.5);
  EXPECT_EQ(EncodeGainTenths(-30), 470);
  EXPECT_DOUBLE_EQ(DecodeGainDb(650), 15.0);
}

}  // namespace
}  // namespace rmt4
