#include "emulator/fault_plan.h"

#include <gtest/gtest.h>

#include <numeric>

#include "emulator/line_pacer.h"
#include "protocol/link_frame.h"

namespace rmt4::emulator {
namespace {

using namespace std::chrono_literals;

std::vector<std::uint8_t> SomeFrame() {
  const std::uint8_t payload[] = {0x04, 0xB4, 0x00, 0x03};
  const auto frame = LinkFrame::Build(Command::ReadParams, payload);
  return {frame->Bytes().begin(), frame->Bytes().end()};
}

TEST(ConsoleFaultPlan, WithoutFaultsEverythingPassesUnchanged) {
  FaultPlan plan(FaultOptions{}, 1);
  const auto frame = SomeFrame();
  const Delivery delivery = plan.Decide(frame);
  EXPECT_FALSE(delivery.drop);
  EXPECT_EQ(delivery.bytes, frame);
  EXPECT_EQ(delivery.delay, 0ms);
  EXPECT_EQ(plan.Pieces(frame.size()), std::vector<std::size_t>{frame.size()});
}

TEST(ConsoleFaultPlan, CorruptionAlwaysBreaksTheFrameCheck) {
  FaultOptions options;
  options.corruptProbability = 1.0;
  FaultPlan plan(options, 3);
  const auto frame = SomeFrame();
  for (int i = 0; i < 200; ++i) {
    const Delivery delivery = plan.Decide(frame);
    ASSERT_EQ(delivery.bytes.size(), frame.size());
    EXPECT_NE(delivery.bytes, frame);
    EXPECT_FALSE(CheckFrame(delivery.bytes).has_value());
  }
}

TEST(ConsoleFaultPlan, ProbabilitiesAreHonouredRoughly) {
  FaultOptions options;
  options.dropProbability = 0.25;
  options.delay = 40ms;
  options.delayProbability = 0.5;
  FaultPlan plan(options, 11);
  int dropped = 0;
  int delayed = 0;
  const auto frame = SomeFrame();
  for (int i = 0; i < 4000; ++i) {
    const Delivery delivery = plan.Decide(frame);
    dropped += delivery.drop;
    delayed += delivery.delay == 40ms;
  }
  EXPECT_NEAR(dropped, 1000, 150);
  EXPECT_NEAR(delayed, 1500, 150);  // half of the 3000 that were not dropped
}

TEST(ConsoleFaultPlan, PiecesCoverTheMessageInSmallParts) {
  FaultOptions options;
  options.pieceMaxBytes = 3;
  FaultPlan plan(options, 5);
  const auto pieces = plan.Pieces(250);
  EXPECT_EQ(std::accumulate(pieces.begin(), pieces.end(), std::size_t{0}), 250u);
  for (const std::size_t piece : pieces) {
    EXPECT_GE(piece, 1u);
    EXPECT_LE(piece, 3u);
  }
  EXPECT_GT(pieces.size(), 83u);
}

TEST(ConsoleFaultPlan, SameSeedSameDecisions) {
  FaultOptions options;
  options.dropProbability = 0.5;
  options.corruptProbability = 0.5;
  FaultPlan first(options, 42);
  FaultPlan second(options, 42);
  const auto frame = SomeFrame();
  for (int i = 0; i < 50; ++i) {
    const Delivery a = first.Decide(frame);
    const Delivery b = second.Decide(frame);
    EXPECT_EQ(a.drop, b.drop);
    EXPECT_EQ(a.bytes, b.bytes);
  }
}

TEST(ConsoleSilence, HoldsForItsTimeOrUntilEnded) {
  Silence silence;
  EXPECT_FALSE(silence.Active());
  const Silence::Clock::time_point start = Silence::Clock::now();
  silence.For(50ms, start);
  EXPECT_TRUE(silence.Active(start));
  EXPECT_TRUE(silence.Active(start + 49ms));
  EXPECT_FALSE(silence.Active(start + 50ms));
  silence.Forever();
  EXPECT_TRUE(silence.Active());
  silence.End();
  EXPECT_FALSE(silence.Active());
}

TEST(ConsoleLinePacer, BooksTheLineAtItsByteRate) {
  LinePacer pacer(12800);
  EXPECT_EQ(pacer.ChunkBytes(), 12u);
  const auto start = LinePacer::Clock::now();
  EXPECT_EQ(pacer.Book(start, 128), start);
  // 128 bytes at 12800 bytes per second keep the line busy for 10 ms.
  EXPECT_EQ(pacer.Book(start, 64), start + 10ms);
  EXPECT_EQ(pacer.Book(start + 1ms, 64), start + 15ms);
  // An idle line saves up no credit.
  EXPECT_EQ(pacer.Book(start + 1s, 1), start + 1s);

  LinePacer slow(100);
  EXPECT_EQ(slow.ChunkBytes(), 1u);
  LinePacer off(0);
  EXPECT_FALSE(off.Enabled());
  EXPECT_EQ(off.Book(start, 1'000'000), start);
}

}  // namespace
}  // namespace rmt4::emulator
