#include "protocol/stream_buffer.h"

#include <gtest/gtest.h>

#include <string>

#include "frame_test_support.h"

namespace rmt4 {
namespace {

using test::Bytes;

/// Feeds pieces one call each; returns the texts of the frames found after each call.
std::vector<int> FramesPerCall(StreamBuffer& buffer, const std::vector<Bytes>& pieces) {
  std::vector<int> found;
  for (const Bytes& piece : pieces) {
    int frames = 0;
    buffer.Feed(piece, [&frames](const FrameView&) { ++frames; });
    found.push_back(frames);
  }
  return found;
}

TEST(StreamBuffer, NoiseSinceTheLastFrameCountsTowardTheSearchThreshold) {
  const Bytes empty = test::Frame(Command::ModuleText, {});
  ASSERT_EQ(empty.size(), 5u);
  Bytes badCandidate = test::Frame(Command::ModuleText, Bytes{'x'});
  badCandidate.back() ^= 0xFF;
  const Bytes head(empty.begin(), empty.begin() + 3);
  const Bytes tail(empty.begin() + 3, empty.end());
  struct Case {
    const char* what;
    std::vector<Bytes> pieces;
    std::vector<int> framesPerCall;
  };
  const std::vector<Case> cases{
      {"alone: waits for one more byte", {empty, Bytes{0x00}}, {0, 1}},
      {"after noise without a start byte", {Bytes(8, 0x11), empty}, {0, 1}},
      {"after a judged bad candidate", {badCandidate, empty}, {0, 1}},
      {"after a little noise", {Bytes{0x11}, empty}, {0, 1}},
      {"started in the noise's call", {test::Concat({Bytes(4, 0x11), head}), tail}, {0, 1}},
      {"after an accepted frame the count starts again", {test::Concat({Bytes(9, 0x11), empty, Bytes{0}}), empty},
       {1, 1}},
      {"alone after an accepted frame", {test::Concat({Bytes(9, 0x11), empty}), empty, Bytes{0x00}}, {1, 0, 1}},
  };
  for (const Case& c : cases) {
    StreamBuffer buffer;
    EXPECT_EQ(FramesPerCall(buffer, c.pieces), c.framesPerCall) << c.what;
  }
}

TEST(StreamBuffer, NoiseIsCountedNotKept) {
  StreamBuffer buffer;
  for (int i = 0; i < 1000; ++i) FramesPerCall(buffer, {Bytes(4096, 0x11)});
  EXPECT_EQ(buffer.BufferedBytes(), 0u);
  EXPECT_EQ(FramesPerCall(buffer, {test::Frame(Command::ModuleText, {})}), std::vector<int>{1});
}

}  // namespace
}  // namespace rmt4
