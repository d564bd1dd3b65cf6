#include "protocol/frame_parser.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "frame_test_support.h"

namespace rmt4 {
namespace {

using test::Bytes;
using test::Concat;
using test::Entries;
using test::Frame;

class FrameParserTest : public ::testing::Test {
 protected:
  FrameParserTest() {
    state.params.ClearReceivedAndDirty();
    parser.SetModuleTextHandler([this](std::string_view text) { texts.emplace_back(text); });
  }
  void Feed(const Bytes& bytes) { parser.Parse(bytes); }
  void FeedByteByByte(const Bytes& bytes) {
    for (std::uint8_t b : bytes) parser.Parse(std::span<const std::uint8_t>(&b, 1));
  }
  static Bytes Text(const std::string& text) { return Frame(Command::ModuleText, Bytes(text.begin(), text.end())); }
  bool Released() { return state.reply.semaphore.TryAcquireFor(std::chrono::milliseconds(0)); }

  LinkState state;
  FrameParser parser{state};
  std::vector<std::string> texts;
};

TEST_F(FrameParserTest, OneByteAtATimeDispatchesOnceAfterTheLastByte) {
  const Bytes frame = Frame(Command::ReadParams, Entries({{1204, 3}}));
  ASSERT_EQ(frame.size(), 9u);
  for (std::size_t i = 0; i + 1 < frame.size(); ++i) {
    parser.Parse(std::span<const std::uint8_t>(&frame[i], 1));
    ASSERT_FALSE(state.params[1204].received) << "after byte " << i + 1;
  }
  parser.Parse(std::span<const std::uint8_t>(&frame.back(), 1));
  EXPECT_TRUE(state.params[1204].received);
  EXPECT_EQ(state.params.Value(1204), 3);

  FeedByteByByte(Text("once"));
  EXPECT_EQ(texts, std::vector<std::string>{"once"});
  EXPECT_EQ(parser.BufferedBytes(), 0u);
}

TEST_F(FrameParserTest, EmptyFrameAloneWaitsForOneMoreByte) {
  Feed(Text(""));
  EXPECT_TRUE(texts.empty()) << "the search starts at six buffered bytes";
  Feed(Bytes{0x00});
  EXPECT_EQ(texts, std::vector<std::string>{""});
}

TEST_F(FrameParserTest, FramesAfterGarbageAndBadCrcsAreFoundInOrder) {
  Bytes badCrc = Text("bad");
  badCrc.back() ^= 0xFF;
  Feed(test::Concat({Bytes{0x01, 0x80, 0x80, 0x02, 0xFF}, Text("first"), badCrc, Bytes{0x80, 0x04}, Text("second")}));
  EXPECT_EQ(texts, (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(parser.BufferedBytes(), 0u);
}

TEST_F(FrameParserTest, StaleIncompleteBytesDoNotHideLaterFrames) {
  // A lost connection left the start of a long frame behind.
  Feed(Bytes{0x80, 0xF0, 0x06, 0x00});
  Feed(Text("after reconnect"));
  EXPECT_EQ(texts, std::vector<std::string>{"after reconnect"});
  for (int i = 0; i < 40; ++i) Feed(Text("more"));
  EXPECT_LT(parser.BufferedBytes(), 6u) << "the stale candidate is judged and dropped once its bytes are there";
}

TEST_F(FrameParserTest, ValuesAreStoredEvenOverLocalEdits) {
  ParamSet(state.params, 100, 6);
  state.params[100].rereadRequested = true;
  Feed(Frame(Command::ReadParams, Entries({{100, 5}, {1573, 9}, {1574, 1}, {0xFFFF, 2}})));
  EXPECT_EQ(state.params.Value(100), 5);
  EXPECT_TRUE(state.params[100].received);
  EXPECT_FALSE(state.params[100].rereadRequested);
  EXPECT_TRUE(state.params[100].Dirty()) << "the pending write sends the console's value back";
  EXPECT_EQ(state.params.Value(1573), 9);
}

TEST_F(FrameParserTest, TruncatedEntriesAreIgnored) {
  Feed(Frame(Command::ReadParams, Bytes{0x00, 0x64, 0x00, 0x07, 0x00, 0x65, 0x00}));
  EXPECT_EQ(state.params.Value(100), 7);
  EXPECT_FALSE(state.params[101].received);
}

// The reader acknowledges the echo of the previous value over and over while
// the user edits at random moments: every edit must stay pending until its own
// value is echoed, however the two interleave (run under ThreadSanitizer too).
TEST_F(FrameParserTest, AnEditDuringAnAcknowledgementStaysPending) {
  constexpr ParamAddress kAddress = 136;
  std::atomic<int> echoed{0};
  std::atomic<bool> stop{false};
  std::thread reader([&] {
    int framed = -1;
    Bytes frame;
    while (!stop.load(std::memory_order_relaxed)) {
      if (const int value = echoed.load(); value != framed) {
        framed = value;
        // A whole batch of echoes opens the window between comparing and clearing 24 times a frame.
        Bytes echoes;
        for (int i = 0; i < 24; ++i) echoes = Concat({echoes, Entries({{kAddress, static_cast<std::uint16_t>(value)}})});
        frame = Frame(Command::WriteParams, echoes);
      }
      Feed(frame);
    }
  });
  std::mt19937 random(7);
  int lost = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  for (int edit = 1; edit <= 20000 && std::chrono::steady_clock::now() < deadline; ++edit) {
    for (auto spin = random() % 500; spin > 0; --spin) echoed.load();  // a random moment
    ParamSet(state.params, kAddress, static_cast<std::uint16_t>(edit));
    lost += state.params[kAddress].Dirty() ? 0 : 1;
    echoed.store(edit);  // the console's echo of the new value
    while (state.params[kAddress].Dirty()) std::this_thread::yield();
  }
  stop.store(true);
  reader.join();
  EXPECT_EQ(lost, 0) << "edits marked written though only an older value was echoed";
}

TEST_F(FrameParserTest, WriteAcknowledgementClearsOnlyMatchingValues) {
  ParamSet(state.params, 100, 6);
  ParamSet(state.params, 101, 8);
  state.params[101].retryCount = 4;
  Feed(Frame(Command::WriteParams, Entries({{100, 5}, {101, 8}, {2000, 8}})));
  EXPECT_TRUE(state.params[100].Dirty()) << "an echo of another value keeps the newer local one pending";
  EXPECT_FALSE(state.params[101].Dirty());
  EXPECT_EQ(state.params[101].retryCount, 0);
  EXPECT_FALSE(state.params[101].received) << "an acknowledgement is not news for the window";
}

TEST_F(FrameParserTest, DeviceQueryRepliesInBothForms) {
  Feed(Frame(Command::DeviceQuery, Bytes{0x01, 12, 0x10, 0x00, 0x00, 0x80}));
  EXPECT_EQ(state.device.modeCount, 12);
  EXPECT_EQ(state.device.modeLockMask, 0x80000010u) << "lowest byte first";
  Feed(Frame(Command::DeviceQuery, Bytes{0x4E, 0x38, 0x00, 0x00}));
  EXPECT_EQ(state.device.deviceType, 20024);
  EXPECT_EQ(state.device.modeCount, 12) << "the device form leaves the modes alone";
}

TEST_F(FrameParserTest, CurrentModeArrivalUpdatesTheLock) {
  state.device.modeCount = 12;
  state.device.modeLockMask = 0x00000010;
  Feed(Frame(Command::ReadParams, Entries({{1204, 3}})));
  EXPECT_FALSE(state.device.currentModeLocked);
  Feed(Frame(Command::ReadParams, Entries({{1204, 4}})));
  EXPECT_TRUE(state.device.currentModeLocked);
  Feed(Frame(Command::ReadParams, Entries({{1204, 13}})));
  EXPECT_TRUE(state.device.currentModeLocked) << "a mode beyond the count leaves it unchanged";
}

TEST_F(FrameParserTest, ModeNamesAreTrimmedAndWrapOntoTwelveSlots) {
  ParamSet(state.params, 1205, 0x0507);
  Feed(Frame(Command::ReadModeName, Bytes{7, 'L', 'i', 'v', 'e', ' ', ' ', 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(state.modeNames.Text(7), u"Live");
  EXPECT_TRUE(state.modeNames.Received(7));
  EXPECT_TRUE(state.modeNames.modeNamesChanged);
  EXPECT_EQ(state.params.Value(1205), 7);
  EXPECT_TRUE(state.params[1205].received);
  EXPECT_FALSE(state.params[1205].Dirty()) << "the name request is answered";

  Feed(Frame(Command::ReadModeName, Bytes{13, 'W', 'r', 'a', 'p'}));
  EXPECT_EQ(state.modeNames.Text(1), u"Wrap");

  Bytes longName{2};
  longName.resize(1 + 40, 'x');
  Feed(Frame(Command::ReadModeName, longName));
  EXPECT_EQ(state.modeNames.Text(2), std::u16string(25, u'x')) << "at most 25 characters";

  // Character 0 is kept even when it is filler; mode 0 stores nothing.
  Feed(Frame(Command::ReadModeName, Bytes{3, ' ', ' '}));
  EXPECT_EQ(state.modeNames.Name(3)[0], u' ');
  state.params[1205].received = false;
  Feed(Frame(Command::ReadModeName, Bytes{0, 'Z'}));
  EXPECT_FALSE(state.params[1205].received);
  EXPECT_EQ(state.modeNames.Buffer()[0], u'Z');
}

TEST_F(FrameParserTest, AcknowledgementsSetTheirFlagsAndWakeOnlyAWaiter) {
  const std::vector<Command> acknowledged{Command::RecallMode,      Command::StoreModeName,  Command::StoreMode,
                                          Command::RecallFxPreset1, Command::StoreFxPreset1, Command::RecallFxPreset2,
                                          Command::StoreFxPreset2};
  for (Command command : acknowledged) {
    state.reply.awaitingReply = true;
    Feed(Frame(command, Bytes{0x00}));
    EXPECT_TRUE(state.replySeen.Seen(command)) << int(command);
    EXPECT_TRUE(Released()) << int(command);
  }

  state.reply.awaitingReply = false;
  Feed(Frame(Command::ReadParams, Entries({{7, 1}})));
  EXPECT_FALSE(Released()) << "a late reply must not cut the next wait short";

  state.reply.awaitingReply = true;
  state.health.missCount = 3;
  Feed(Frame(static_cast<Command>(0x42), Bytes{0x00}));
  EXPECT_FALSE(Released()) << "unknown commands wake nobody";
  EXPECT_EQ(state.health.missCount, 0) << "but they prove the console is there";
}

TEST_F(FrameParserTest, RandomPiecesOfGarbageAndFramesLoseNoFrame) {
  std::mt19937 random(1234);
  std::vector<std::string> sent;
  Bytes stream;
  for (int i = 0; i < 2000; ++i) {
    const int garbage = std::uniform_int_distribution<int>(0, 12)(random);
    for (int g = 0; g < garbage; ++g) {
      // Plenty of start bytes, so many false candidates are judged.
      stream.push_back(random() % 4 == 0 ? 0x80 : static_cast<std::uint8_t>(random()));
    }
    sent.push_back("frame " + std::to_string(i));
    const Bytes frame = Text(sent.back());
    stream.insert(stream.end(), frame.begin(), frame.end());
  }
  stream.push_back(0x00);  // so a final short frame is searched too
  for (std::size_t at = 0; at < stream.size();) {
    const std::size_t piece = std::min<std::size_t>(stream.size() - at, std::uniform_int_distribution<std::size_t>(1, 70)(random));
    parser.Parse(std::span<const std::uint8_t>(stream.data() + at, piece));
    at += piece;
    ASSERT_LE(parser.BufferedBytes(), StreamBuffer::kSliceBytes + LinkFrame::kMaxBytes);
  }
  EXPECT_EQ(texts, sent);
}

TEST_F(FrameParserTest, EndlessGarbageKeepsTheBufferBounded) {
  std::mt19937 random(99);
  Bytes garbage(1 << 20);
  for (auto& b : garbage) b = random() % 8 == 0 ? 0x80 : static_cast<std::uint8_t>(random());
  for (int round = 0; round < 8; ++round) {
    Feed(garbage);
    ASSERT_LE(parser.BufferedBytes(), LinkFrame::kMaxBytes);
  }
  Bytes noStartByte(100000, 0x11);
  Feed(noStartByte);
  EXPECT_LE(parser.BufferedBytes(), LinkFrame::kMaxBytes);
  // Whatever was left behind, a valid frame after enough bytes to judge it is found.
  Feed(Bytes(LinkFrame::kMaxBytes, 0x00));
  Feed(Text("still alive"));
  EXPECT_EQ(texts, std::vector<std::string>{"still alive"});
}

}  // namespace
}  // namespace rmt4
