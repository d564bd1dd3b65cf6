#include "emulator/console_responder.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "emulator/console_session.h"
#include "protocol/frame_parser.h"
#include "protocol/link_state.h"

namespace rmt4::emulator {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Entries(std::initializer_list<std::pair<int, int>> entries) {
  Bytes payload;
  for (const auto& [address, value] : entries) {
    AppendWord(payload, static_cast<std::uint16_t>(address));
    AppendWord(payload, static_cast<std::uint16_t>(value));
  }
  return payload;
}

Bytes Addresses(std::initializer_list<int> addresses) {
  Bytes payload;
  for (const int address : addresses) AppendWord(payload, static_cast<std::uint16_t>(address));
  return payload;
}

Bytes Text(std::string_view text) { return Bytes(text.begin(), text.end()); }

/// A console and a PC mirror: requests go to the console, its replies go
/// through the PC's own frame parser.
class ConsoleTest : public ::testing::Test {
 protected:
  explicit ConsoleTest(ConsoleSettings settings = {}) : console_(WithModule(settings)), parser_(pc_) {
    parser_.SetModuleTextHandler([this](std::string_view text) { moduleTexts_.emplace_back(text); });
  }

  static ConsoleSettings WithModule(ConsoleSettings settings) {
    settings.module = ModuleIdentity{0x7F000002, 6010, 1010};
    return settings;
  }

  /// The replies to one request, also applied to the PC mirror.
  std::vector<LinkFrame> Ask(Command command, const Bytes& payload = {}) {
    const auto request = LinkFrame::Build(command, payload);
    const auto view = CheckFrame(request->Bytes());
    std::vector<LinkFrame> replies = console_.Respond(*view);
    for (const LinkFrame& reply : replies) parser_.Parse(reply.Bytes());
    return replies;
  }

  std::uint16_t Read(int address) {
    Ask(Command::ReadParams, Addresses({address}));
    return pc_.params.Value(static_cast<ParamAddress>(address));
  }

  bool Acknowledged(Command command, const Bytes& payload) {
    pc_.replySeen.Clear(command);
    Ask(command, payload);
    return pc_.replySeen.Seen(command);
  }

  ConsoleResponder console_;
  LinkState pc_;
  FrameParser parser_;
  std::vector<std::string> moduleTexts_;
};

TEST_F(ConsoleTest, ReadParamsAnswersTheAddressesAskedFor) {
  const auto replies = Ask(Command::ReadParams, Addresses({0, 26, 970, 1573, 1574, 0xFFFF}));
  ASSERT_EQ(replies.size(), 1u);
  // Only valid addresses are answered; 1574 and beyond are left out.
  EXPECT_EQ(replies[0].Payload().size(), 4u * 4);
  EXPECT_EQ(pc_.params.Value(0), kSupportedDeviceType);
  EXPECT_EQ(pc_.params.Value(26), 1);
  EXPECT_EQ(pc_.params.Value(970), 933);
  EXPECT_EQ(pc_.params.Value(1573), DefaultValue(1573));
  EXPECT_TRUE(pc_.params[1573].received.load());
}

TEST_F(ConsoleTest, ReadParamsSplitsLongAnswersAndAnswersEmptyRequests) {
  Bytes many;
  for (int a = 100; a < 224; ++a) AppendWord(many, static_cast<std::uint16_t>(a));
  many.push_back(0x01);  // a dangling half address is ignored
  const auto replies = Ask(Command::ReadParams, many);
  ASSERT_EQ(replies.size(), 2u);
  EXPECT_EQ(replies[0].Payload().size(), 62u * 4);
  EXPECT_EQ(replies[1].Payload().size(), 62u * 4);

  // An empty answer still wakes a PC waiting for it.
  const auto empty = Ask(Command::ReadParams, {});
  ASSERT_EQ(empty.size(), 1u);
  EXPECT_TRUE(empty[0].Payload().empty());
}

TEST_F(ConsoleTest, WriteParamsStoresAndEchoesWhatWasStored) {
  ParamSet(pc_.params, 136, 900);
  const auto replies = Ask(Command::WriteParams, Entries({{136, 900}, {0, 1234}, {7, 9}, {1574, 5}}));
  ASSERT_EQ(replies.size(), 1u);
  // The echo clears the PC's dirty flag: the value was taken.
  EXPECT_FALSE(pc_.params[136].Dirty());
  EXPECT_EQ(console_.Value(136), 900);
  // Device type and meters are not writable; the echo says what the console holds.
  const Bytes echo(replies[0].Payload().begin(), replies[0].Payload().end());
  const std::uint16_t meters = console_.Value(7);
  EXPECT_EQ(echo, Entries({{136, 900}, {0, kSupportedDeviceType}, {7, meters}}));
  EXPECT_EQ(console_.Value(0), kSupportedDeviceType);

  const auto none = Ask(Command::WriteParams, {});
  ASSERT_EQ(none.size(), 1u);
  EXPECT_TRUE(none[0].Payload().empty());
}

TEST_F(ConsoleTest, DumpAllSendsEveryValueOnceInFramesOfAtMost62) {
  ParamSet(pc_.params, 500, 1);  // differs from the console's default, must be overwritten
  const auto replies = Ask(Command::DumpAll, {0});
  ASSERT_EQ(replies.size(), 26u);  // 25 × 62 + 24
  std::set<int> seen;
  for (const LinkFrame& frame : replies) {
    EXPECT_EQ(frame.command(), Command::ReadParams);
    EXPECT_LE(frame.Payload().size(), 62u * 4);
    ForEachParamEntry(frame.Payload(), [&](ParamEntryData entry) { EXPECT_TRUE(seen.insert(entry.address).second); });
  }
  EXPECT_EQ(seen.size(), kParamCount);
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    ASSERT_TRUE(pc_.params[a].received.load()) << a;
    if (a != address::kLevelMeters) {
      ASSERT_EQ(pc_.params.Value(a), DefaultValue(a)) << a;
    }
  }
}

TEST_F(ConsoleTest, ChangeOnTheConsoleIsAnUnsolicitedValueFrame) {
  const LinkFrame frame = console_.ChangeFromConsole(136, 777);
  parser_.Parse(frame.Bytes());
  EXPECT_EQ(console_.Value(136), 777);
  EXPECT_EQ(pc_.params.Value(136), 777);
  EXPECT_TRUE(pc_.params[136].received.load());
}

TEST_F(ConsoleTest, UnknownCommandsGoUnanswered) {
  EXPECT_TRUE(Ask(static_cast<Command>(0x42), {1, 2}).empty());
  EXPECT_TRUE(Ask(Command::ModuleText, Text("Hello:")).empty());
}

TEST_F(ConsoleTest, ModuleTextIsAnsweredByTheModule) {
  const auto replies = Ask(Command::ModuleText, Text("Get_IP:"));
  ASSERT_EQ(replies.size(), 1u);
  ASSERT_EQ(moduleTexts_.size(), 1u);
  EXPECT_EQ(moduleTexts_[0], "Get_IP:7F000002");
  console_.SetLinkedHost(0x7F000001);
  Ask(Command::ModuleText, Text("Get_LinkIP:"));
  EXPECT_EQ(moduleTexts_.back(), "Get_LinkIP:7F000001");
}

TEST_F(ConsoleTest, MetersMoveWhenPolledAndFallSilentWithMainOff) {
  std::set<int> levels;
  for (int poll = 0; poll < 40; ++poll) {
    const int meters = Read(7);
    EXPECT_LE(meters, 0xFF);
    levels.insert(meters & 0x0F);
  }
  EXPECT_GE(levels.size(), 4u) << "meters should move like music";

  Ask(Command::WriteParams, Entries({{972, 0}}));  // MAIN bus off
  for (int poll = 0; poll < 5; ++poll) EXPECT_EQ(Read(7), 0);
}

class ConsoleDeviceTest : public ConsoleTest {
 protected:
  ConsoleDeviceTest() : ConsoleTest(ConsoleSettings{kSupportedDeviceType, 1u << 4, 1, {}}) {}
};

TEST_F(ConsoleDeviceTest, DeviceQueryAnswersModeFormThenDeviceType) {
  const auto replies = Ask(Command::DeviceQuery, {0});
  ASSERT_EQ(replies.size(), 2u);
  EXPECT_EQ(pc_.device.modeCount.load(), 12);
  EXPECT_EQ(pc_.device.modeLockMask.load(), 1u << 4);
  EXPECT_EQ(pc_.device.deviceType.load(), kSupportedDeviceType);

  // The PC learns from 1204 whether the current mode is locked.
  ASSERT_TRUE(Acknowledged(Command::RecallMode, {4}));
  EXPECT_EQ(Read(1204), 4);
  EXPECT_TRUE(pc_.device.currentModeLocked.load());
}

TEST_F(ConsoleDeviceTest, ModeNamesCanBeReadAndStored) {
  Ask(Command::ReadModeName, {3});
  EXPECT_EQ(pc_.modeNames.Text(3), u"Mode 3");

  Bytes store{3, 'L', 'i', 'v', 'e'};
  store.resize(21, 0);  // the PC always sends 20 name bytes
  ASSERT_TRUE(Acknowledged(Command::StoreModeName, store));
  Ask(Command::ReadModeName, {3});
  EXPECT_EQ(pc_.modeNames.Text(3), u"Live");
  EXPECT_EQ(pc_.params.Value(1205), 3);  // the PC files the name under its mode

  // No such mode, and a locked mode keeps its name.
  EXPECT_TRUE(Ask(Command::ReadModeName, {0}).empty());
  EXPECT_TRUE(Ask(Command::ReadModeName, {13}).empty());
  EXPECT_FALSE(Acknowledged(Command::StoreModeName, {4, 'X'}));
  Ask(Command::ReadModeName, {4});
  EXPECT_EQ(pc_.modeNames.Text(4), u"Mode 4");
}

TEST_F(ConsoleDeviceTest, ModesStoreAndRecallTheMix) {
  Ask(Command::WriteParams, Entries({{136, 900}, {1300, 55}}));
  ASSERT_TRUE(Acknowledged(Command::StoreMode, {1, 1}));  // into the current mode, 1
  Ask(Command::WriteParams, Entries({{136, 100}}));

  ASSERT_TRUE(Acknowledged(Command::RecallMode, {2}));
  EXPECT_EQ(console_.Value(136), DefaultValue(136));
  EXPECT_EQ(console_.Value(1204), 2);
  ASSERT_TRUE(Acknowledged(Command::RecallMode, {1}));
  EXPECT_EQ(console_.Value(136), 900);
  EXPECT_EQ(console_.Value(1204), 1);
  // Device words and the effect library are not part of a mode.
  EXPECT_EQ(console_.Value(1300), 55);
  EXPECT_EQ(console_.Value(0), kSupportedDeviceType);

  EXPECT_FALSE(Acknowledged(Command::RecallMode, {0}));
  EXPECT_FALSE(Acknowledged(Command::RecallMode, {13}));
  // A locked mode can be recalled but not overwritten.
  ASSERT_TRUE(Acknowledged(Command::RecallMode, {4}));
  EXPECT_FALSE(Acknowledged(Command::StoreMode, {1, 1}));
}

TEST_F(ConsoleTest, EffectProgramsRecallAndStorePerEngine) {
  ASSERT_TRUE(Acknowledged(Command::RecallFxPreset1, {6}));
  // Factory program 6 of engine 1 is (6, 30, 50) in the console's library.
  EXPECT_EQ(console_.Value(1142), 6);
  EXPECT_EQ(console_.Value(1143), 30);
  EXPECT_EQ(console_.Value(1144), 50);
  EXPECT_EQ(console_.Value(26), 6);

  Ask(Command::WriteParams, Entries({{1142, 5}, {1143, 40}, {1144, 60}}));
  ASSERT_TRUE(Acknowledged(Command::StoreFxPreset1, {20}));
  ASSERT_TRUE(Acknowledged(Command::RecallFxPreset1, {1}));
  EXPECT_EQ(console_.Value(1142), 1);
  ASSERT_TRUE(Acknowledged(Command::RecallFxPreset1, {20}));
  EXPECT_EQ(console_.Value(1142), 5);
  EXPECT_EQ(console_.Value(1143), 40);
  EXPECT_EQ(console_.Value(1144), 60);

  // Engine 2 has its own library: its user program 20 is still the default.
  ASSERT_TRUE(Acknowledged(Command::RecallFxPreset2, {20}));
  EXPECT_EQ(console_.Value(1179), 17);
  EXPECT_EQ(console_.Value(1180), 0);
  EXPECT_EQ(console_.Value(1181), 78);
  EXPECT_EQ(console_.Value(27), 20);
  ASSERT_TRUE(Acknowledged(Command::StoreFxPreset2, {36}));

  for (const std::uint8_t bad : {0, 37, 255}) {
    EXPECT_FALSE(Acknowledged(Command::RecallFxPreset1, {bad}));
    EXPECT_FALSE(Acknowledged(Command::StoreFxPreset2, {bad}));
  }
  EXPECT_FALSE(Acknowledged(Command::RecallFxPreset2, {}));
}

TEST(ConsoleSession, FindsRequestsInGarbageAndStaysBounded) {
  ConsoleResponder console{ConsoleSettings{}};
  std::vector<LinkFrame> replies;
  ConsoleSession session(console, [&](const LinkFrame& reply) { replies.push_back(reply); });

  std::mt19937 random(7);
  std::uniform_int_distribution<int> byte(0, 255);
  Bytes garbage(200'000);
  for (auto& b : garbage) b = static_cast<std::uint8_t>(byte(random));
  for (std::size_t at = 0; at < garbage.size(); at += 1000) {
    session.Receive(std::span(garbage).subspan(at, 1000));
    ASSERT_LE(session.BufferedBytes(), 260u);
  }
  replies.clear();  // random bytes may hold a valid frame by chance

  const auto request = LinkFrame::Build(Command::ReadParams, Addresses({0}));
  Bytes stream = {0x80, 0xFF, 0x80, 0x05};  // a false start and a truncated frame before the real one
  stream.insert(stream.end(), request->Bytes().begin(), request->Bytes().end());
  stream.push_back(0x00);
  for (const std::uint8_t b : stream) session.Receive(std::span(&b, 1));
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].command(), Command::ReadParams);
}

}  // namespace
}  // namespace rmt4::emulator
