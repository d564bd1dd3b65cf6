#include "automation/osc_dispatch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

#include "named_param.h"
#include "automation/osc_names.h"
#include "values/param_bits.h"
#include "values/param_catalogue.h"
#include "values/param_numbers.h"

namespace rmt4 {

void PrintTo(const OscArgument& argument, std::ostream* out) {
  *out << (argument.type == OscArgument::Type::kString ? argument.text : std::to_string(argument.number));
}

namespace {

using Arg = OscArgument;

std::uint16_t Typed(const char* name, const char* text) { return *ParseValue(Named(name), text).raw; }
const BitParam& Bits(const char* name) { return *FindBitParam(name); }

class OscDispatchTest : public ::testing::Test {
 protected:
  OscDispatched Send(const std::vector<std::uint8_t>& packet, OscPeer from = kSender, std::int64_t nowMs = 0) {
    return DispatchOscPacket(packet, from, nowMs, state_);
  }
  OscDispatched Send(const OscMessage& message, OscPeer from = kSender, std::int64_t nowMs = 0) {
    return Send(EncodeOscMessage(message), from, nowMs);
  }
  /// The one /error a refused message earns, checked to change nothing.
  std::string Refusal(const OscMessage& message) {
    const OscDispatched out = Send(message);
    EXPECT_EQ(out.refused, 1) << message.address;
    EXPECT_FALSE(out.edited);
    EXPECT_TRUE(edits_.Take().empty()) << message.address;
    if (out.replies.size() != 1 || out.replies[0].message.address != "/error") return "(no single /error)";
    EXPECT_EQ(out.replies[0].message.arguments[0], Arg::String(message.address));
    return out.replies[0].message.arguments[1].text;
  }

  static constexpr OscPeer kSender{0x7F000001, 5000};
  ParamTable params_;
  OscClients clients_;
  Fades fades_;
  OscPendingEdits edits_;
  OscState state_{params_, clients_, fades_, edits_, [] {
                    return OscLinkStatus{"connected", "network 127.0.0.2", "device type 20024"};
                  }};
};

TEST_F(OscDispatchTest, TextIsTakenAsRmt4ctlSetTakesIt) {
  params_[Named("ch1.mute")].Store(0x0009);  // 48V on, unmuted
  EXPECT_TRUE(Send(OscMessage{"/CH3/Fader", {Arg::String("-10dB")}}).edited);
  EXPECT_TRUE(Send(OscMessage{"/ch1/mute", {Arg::String("ON")}}).edited);
  const ParsedValue mute = ParseValue(Named("ch1.mute"), "ON");
  EXPECT_EQ(edits_.Take(), (std::vector<RequestedEdit>{{Named("ch3.fader"), Typed("ch3.fader", "-10dB"), kWholeWord},
                                                       {Named("ch1.mute"), *mute.raw, mute.ownBits}}));
}

TEST_F(OscDispatchTest, AGetIsAnsweredWithTheValueAndItsText) {
  params_[Named("ch3.fader")].Store(Typed("ch3.fader", "-10dB"));
  const OscDispatched out = Send(OscMessage{"/ch3/fader", {}});
  ASSERT_EQ(out.replies.size(), 1U);
  EXPECT_EQ(out.replies[0].to, kSender);
  EXPECT_EQ(out.replies[0].message, (OscMessage{"/ch3/fader", {Arg::Float(-10), Arg::String("-10.0 dB")}}));
  params_[Named("ch1.mute")].Store(0x0009);  // 48V on, unmuted
  EXPECT_EQ(Send(OscMessage{"/ch1/48v", {}}).replies.at(0).message,
            (OscMessage{"/ch1/48v", {Arg::Int(1), Arg::String("ON")}}));
}

TEST_F(OscDispatchTest, APatternSetsEveryMatchAndGetsAnswerEach) {
  Send(OscMessage{"/ch*/mute", {Arg::String("ON")}});
  std::vector<ParamAddress> muted;
  for (const RequestedEdit& edit : edits_.Take()) muted.push_back(edit.address);
  EXPECT_EQ(muted, MatchParams("ch?.mute"));
  const OscDispatched got = Send(OscMessage{"/ch{1,2}/fader", {}});
  ASSERT_EQ(got.replies.size(), 2U);
  EXPECT_EQ(got.replies[1].message.address, "/ch2/fader");
}

TEST_F(OscDispatchTest, BitNamesEditOnlyTheirBitsAndMergePerWord) {
  const BitParam& aux1 = Bits("sys.pfl.aux1");
  const BitParam& fx2 = Bits("sys.pfl.fx2");
  const auto both = static_cast<std::uint16_t>(aux1.mask | fx2.mask);
  Send(EncodeOscBundle({EncodeOscMessage({"/sys/pfl/aux1", {Arg::Int(1)}}),
                        EncodeOscMessage({"/SYS/PFL/FX2", {Arg::String("on")}})}));
  EXPECT_EQ(edits_.Take(), (std::vector<RequestedEdit>{{aux1.address, both, both}}));

  Send(OscMessage{"/ch*/48v", {Arg::Float(0)}});
  std::vector<RequestedEdit> expected;
  for (const BitParam* bits : MatchBitParams("ch*.48v")) expected.push_back({bits->address, 0, bits->mask});
  EXPECT_EQ(edits_.Take(), expected);

  // 1 is on for every bit name, also where the console's flag means off.
  const BitParam& comp = Bits("ch1.comp");
  Send(OscMessage{"/ch1/comp", {Arg::Int(1)}});
  EXPECT_EQ(edits_.Take(), (std::vector<RequestedEdit>{{comp.address, 0, comp.mask}})) << "compressor on";
}

TEST_F(OscDispatchTest, ABundlesMessagesApplyInOrderNestedToo) {
  const auto set = [](const char* text) { return EncodeOscMessage({"/ch1/fader", {Arg::String(text)}}); };
  const auto inner = EncodeOscBundle({set("-20dB"), EncodeOscMessage({"/ch2/fader", {Arg::String("-5dB")}})});
  const OscDispatched out = Send(EncodeOscBundle({set("-10dB"), inner, EncodeOscMessage({"/status", {}})}));
  EXPECT_EQ(edits_.Take(), (std::vector<RequestedEdit>{{Named("ch1.fader"), Typed("ch1.fader", "-20dB"), kWholeWord},
                                                       {Named("ch2.fader"), Typed("ch2.fader", "-5dB"), kWholeWord}}));
  ASSERT_EQ(out.replies.size(), 1U);
  EXPECT_EQ(
      out.replies[0].message,
      (OscMessage{"/status",
                  {Arg::String("connected"), Arg::String("network 127.0.0.2"), Arg::String("device type 20024")}}));
}

TEST_F(OscDispatchTest, EachRefusalSaysWhyAndChangesNothing) {
  struct Case {
    OscMessage message;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {{"/ch1/fader", {Arg::String("50dB")}}, ParseValue(Named("ch1.fader"), "50dB").error},
      {{"/ch1/fader", {Arg{Arg::Type::kOther, 0, "N"}}}, "ch1.fader: takes a number or a text, not OSC type 'N'"},
      {{"/ch1/fader", {Arg::String("0dB"), Arg::String("1dB")}},
       "/ch1/fader takes one value to set it, or none to read it"},
      {{"/ch1/{fader,mute}", {Arg::String("-10dB")}}, ParseValue(Named("ch1.mute"), "-10dB").error},
      {{OscAddressOf(address::kLevelMeters), {Arg::Int(3)}}, "sys.meters is read only"},
      {{"/n/ch1/fader", {Arg::String("0.5")}}, "ch1.fader: a position takes a number 0..1"},
      {{"/ch1/mute/fade", {Arg::String("ON"), Arg::Float(2)}}, "ch1.mute cannot fade"},
      {{"/ch1/48v/fade", {Arg::Int(1), Arg::Float(2)}}, "ch1.48v cannot fade"},
      {{"/ch1/48v", {Arg::Int(2)}}, "ch1.48v: takes 1, 0 or ON|OFF"},
      {{"/ch1/fader/fade", {Arg::String("0dB")}}, "/ch1/fader/fade takes a target value and a time of 0..3600 s"},
      {{"/reply_port", {Arg::Int(70000)}},
       "/reply_port takes a port 1..65535, or 0 to answer at the sending port again"},
      {{"/subscribe", {Arg::Float(-1)}}, "/subscribe takes an address pattern and a time of 0..86400 s, both optional"},
      {{"/subscribe", {Arg::String("/nothing/*")}}, UnknownParamText("/nothing/*")},
  };
  for (const Case& c : cases) EXPECT_EQ(Refusal(c.message), c.reason) << c.message.address;
}

TEST_F(OscDispatchTest, AFadeMovesFromTheMirrorToItsTargetAndASetEndsIt) {
  const ParamAddress fader = Named("ch1.fader");
  params_[fader].Store(Typed("ch1.fader", "-30dB"));
  EXPECT_EQ(Send(OscMessage{"/ch1/fader/fade", {Arg::String("-10dB"), Arg::Float(1)}}).refused, 0);
  ASSERT_TRUE(fades_.Fading(fader));
  const auto steps = fades_.Tick(1000, [&](ParamAddress a) { return params_.Value(a); });
  ASSERT_FALSE(steps.empty());
  EXPECT_EQ(steps.back(), (RequestedEdit{fader, Typed("ch1.fader", "-10dB"), kWholeWord}));

  Send(OscMessage{"/ch1/fader/fade", {Arg::String("0dB"), Arg::Float(5)}});
  Send(OscMessage{"/ch1/fader", {Arg::String("-20dB")}});
  EXPECT_FALSE(fades_.Fading(fader));
  Send(OscMessage{"/ch1/send/aux1/fade", {Arg::String("-10dB"), Arg::Float(5)}});
  Send(OscMessage{"/ch1/send/aux1/pre", {Arg::String("pre")}});
  EXPECT_TRUE(fades_.Fading(Named("ch1.send.aux1"))) << "pre/post is not the level";
}

TEST_F(OscDispatchTest, MalformedAndOversizedPacketsAreDroppedUnanswered) {
  std::vector<std::uint8_t> oversized =
      EncodeOscMessage({"/ch1/fader", {Arg::String(std::string(kMaxOscPacket, 'x'))}});
  std::vector<std::uint8_t> deep = EncodeOscMessage({"/ch1/fader", {Arg::String("0dB")}});
  for (int i = 0; i <= kMaxOscBundleDepth; ++i) deep = EncodeOscBundle({deep});
  std::vector<std::uint8_t> cut = EncodeOscBundle({EncodeOscMessage({"/ch1/fader", {Arg::String("0dB")}})});
  cut[19] += 4;  // the element's size runs past the packet's end
  const std::vector<std::vector<std::uint8_t>> packets = {
      {}, {'h', 'e', 'l', 'o'}, {'/', 'a', 0, 0, 'i', 0, 0, 0}, oversized, deep, cut};
  for (const auto& packet : packets) {
    const OscDispatched out = Send(packet);
    EXPECT_TRUE(out.malformed) << packet.size();
    EXPECT_TRUE(out.replies.empty());
  }
  EXPECT_TRUE(edits_.Take().empty());
}

TEST_F(OscDispatchTest, OnePacketEarnsABoundedNumberOfReplies) {
  const auto all = EncodeOscMessage({"/*/*", {}});
  const OscDispatched out = Send(EncodeOscBundle({all, all, all}));
  ASSERT_EQ(out.replies.size(), kMaxRepliesPerPacket + 1);
  EXPECT_EQ(out.replies.back().message.address, "/error");
}

TEST_F(OscDispatchTest, AReplyPortSendsEverythingOfThatAddressThere) {
  const auto answeredAt = [&](OscPeer from) { return Send(OscMessage{"/status", {}}, from).replies.at(0).to; };
  Send(OscMessage{"/reply_port", {Arg::Int(9001)}});
  EXPECT_EQ(answeredAt({kSender.address, 6000}), (OscPeer{kSender.address, 9001}));
  EXPECT_EQ(answeredAt({0x7F000002, 6000}), (OscPeer{0x7F000002, 6000}));
  Send(OscMessage{"/reply_port", {Arg::Int(0)}});
  EXPECT_EQ(answeredAt({kSender.address, 6000}), (OscPeer{kSender.address, 6000}));
}

TEST_F(OscDispatchTest, SubscriptionsLastTheirTimeAndRenew) {
  const ParamAddress fader = Named("ch1.fader");
  Send(OscMessage{"/subscribe", {}}, kSender, 0);
  Send(OscMessage{"/subscribe", {Arg::String("/ch2/*"), Arg::Int(30)}}, kSender, 0);
  Send(OscMessage{"/meters", {Arg::Float(1.5)}}, kSender, 0);
  EXPECT_EQ(clients_.Followers(fader, 9999), std::vector<OscPeer>{kSender});
  EXPECT_TRUE(clients_.Followers(address::kLevelMeters, 0).empty()) << "the meters stream apart";
  EXPECT_EQ(clients_.MeterWatchers(1499), std::vector<OscPeer>{kSender});
  EXPECT_TRUE(clients_.MeterWatchers(1500).empty());
  EXPECT_TRUE(clients_.Followers(fader, 10000).empty());
  EXPECT_EQ(clients_.Followers(Named("ch2.fader"), 29999), std::vector<OscPeer>{kSender});
  EXPECT_EQ(clients_.Followers(Bits("ch2.48v"), 29999), std::vector<OscPeer>{kSender});
  Send(OscMessage{"/subscribe", {Arg::String("/ch3/48v")}}, kSender, 0);
  EXPECT_EQ(clients_.Followers(Bits("ch3.48v"), 9999), std::vector<OscPeer>{kSender});

  Send(OscMessage{"/subscribe", {}}, kSender, 5000);  // renewed
  clients_.Expire(11000);
  EXPECT_EQ(clients_.Followers(fader, 11000), std::vector<OscPeer>{kSender});
  Send(OscMessage{"/unsubscribe", {}}, kSender, 11000);
  EXPECT_FALSE(clients_.AnyLive(11000));
}

TEST(OscMetersTest, SegmentsBecomeDbfs) {
  const OscMessage meters = MetersMessage(0x0C0B);  // left 11 segments, right 0; the high byte is not theirs
  ASSERT_EQ(meters.arguments.size(), 2U);
  EXPECT_EQ(meters.arguments[0], Arg::Float(-3));
  EXPECT_TRUE(std::isinf(meters.arguments[1].number) && meters.arguments[1].number < 0);
  EXPECT_EQ(MetersMessage(0xF1).arguments, (std::vector<Arg>{Arg::Float(-33), Arg::Float(0)}));
  EXPECT_FALSE(std::signbit(MetersMessage(0xF1).arguments[1].number)) << "full scale prints as 0, not -0";
}

}  // namespace
}  // namespace rmt4
