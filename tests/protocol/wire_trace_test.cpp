#include "protocol/wire_trace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <thread>
#include <vector>

#include "files/temp_folder.h"
#include "frame_test_support.h"
#include "protocol/frame_parser.h"

namespace rmt4 {
namespace {

using test::Bytes;
using testing::ReadWholeFile;
using testing::TempFolder;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

/// "SECONDS.MMM " at the start of every line.
constexpr std::size_t kStampWidth = 11;

TEST(WireTraceLine, FramesAndEventsReadAsDocumented) {
  const struct {
    std::string line;
    std::string expected;
  } cases[] = {
      {FrameRecord(12345, TraceDirection::Out, Bytes{0x80, 0x05, 0x06, 0x00, 0x00, 0x13, 0xC5}),
       "    12.345 out ReadParams 80 05 06 00 00 13 c5\n"},
      {FrameRecord(7, TraceDirection::In, Bytes{0x80, 0x04, 0xF0, 0x01, 0xAB, 0xCD}),
       "     0.007 in  DumpAll 80 04 f0 01 ab cd\n"},
      {FrameRecord(1000, TraceDirection::In, Bytes{0x80, 0x03, 0x63, 0x12, 0x34}),
       "     1.000 in  99 80 03 63 12 34\n"},
      {FrameRecord(0, TraceDirection::Out, Bytes{0x80, 0x04, 0x00, 0x00, 0x9F, 0x00}, "dropped: no transport"),
       "     0.000 out DeviceQuery 80 04 00 00 9f 00 (dropped: no transport)\n"},
      {EventRecord(61002, "status", StatusName(LinkStatus::Connected)), "    61.002 event status connected\n"},
      {EventRecord(5, "module text", std::string_view("Get_IP:\x7F\\\n\0", 11)),
       "     0.005 event module text Get_IP:\\x7f\\x5c\\x0a\\x00\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.line, c.expected);
}

TEST(WireTrace, OffWritesNothing) {
  TempFolder folder;
  WireTrace never;
  never.Frame(TraceDirection::Out, Bytes{0x80});
  never.Event("status", "starting");
  WireTrace emptyPath;
  emptyPath.Start("", [](std::string_view) { ADD_FAILURE() << "an empty path is no problem"; });
  EXPECT_FALSE(never.On());
  EXPECT_FALSE(emptyPath.On());
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST(WireTrace, AFileThatCannotBeOpenedIsReportedOnceAndLeavesTheTraceOff) {
  TempFolder folder;
  std::vector<std::string> problems;
  WireTrace trace;
  trace.Start(folder / "missing-folder/trace.txt", [&](std::string_view problem) { problems.emplace_back(problem); });
  trace.Event("status", "starting");
  EXPECT_FALSE(trace.On());
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("missing-folder/trace.txt"), std::string::npos) << problems[0];
}

TEST(WireTrace, RotatesIntoOneOlderFileAndStaysWithinTheLimit) {
  TempFolder folder;
  constexpr std::uintmax_t kLimit = 300;
  WireTrace trace(kLimit);
  trace.Start(folder / "trace.txt", [](std::string_view problem) { ADD_FAILURE() << problem; });
  constexpr int kEvents = 40;  // about 30 bytes each: several rotations
  for (int i = 0; i < kEvents; ++i) trace.Event("event", std::to_string(i));

  const std::vector<std::string> current = Lines(ReadWholeFile(folder / "trace.txt"));
  const std::vector<std::string> older = Lines(ReadWholeFile(folder / "trace.txt.1"));
  EXPECT_LE(std::filesystem::file_size(folder / "trace.txt"), kLimit);
  EXPECT_LE(std::filesystem::file_size(folder / "trace.txt.1"), kLimit);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);
  // The newest lines, without a gap: the older file ends where the current one starts.
  ASSERT_FALSE(current.empty());
  ASSERT_FALSE(older.empty());
  const auto eventNumber = [](const std::string& line) { return std::stoi(line.substr(line.rfind(' ') + 1)); };
  EXPECT_EQ(eventNumber(current.back()), kEvents - 1);
  EXPECT_EQ(eventNumber(older.back()), kEvents - 1 - static_cast<int>(current.size()));
}

TEST(WireTrace, LinesFromManyThreadsStayWhole) {
  TempFolder folder;
  WireTrace trace;
  trace.Start(folder / "trace.txt", [](std::string_view problem) { ADD_FAILURE() << problem; });
  constexpr int kThreads = 4;
  constexpr int kEach = 200;
  const Bytes frame = test::Frame(Command::WriteParams, test::Entries({{136, 1000}}));
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < kEach; ++i) trace.Frame(TraceDirection::Out, frame);
    });
  }
  for (std::thread& thread : threads) thread.join();
  const std::vector<std::string> lines = Lines(ReadWholeFile(folder / "trace.txt"));
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kThreads * kEach));
  const std::string expected = FrameRecord(0, TraceDirection::Out, frame).substr(kStampWidth);
  for (const std::string& line : lines) ASSERT_EQ(line.substr(kStampWidth) + "\n", expected);
  EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end())) << "time stamps never go back";
}

TEST(WireTrace, TheParserRecordsEachAcceptedFrameWhole) {
  TempFolder folder;
  WireTrace trace;
  trace.Start(folder / "trace.txt", [](std::string_view problem) { ADD_FAILURE() << problem; });
  LinkState state;
  FrameParser parser(state);
  parser.SetTrace(trace);
  const Bytes frame = test::Frame(Command::ReadParams, test::Entries({{1204, 3}}));
  Bytes corrupted = frame;
  corrupted.back() ^= 0xFF;
  parser.Parse(test::Concat({Bytes{0x00, 0x80}, corrupted, frame}));

  const std::vector<std::string> lines = Lines(ReadWholeFile(folder / "trace.txt"));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(kStampWidth) + "\n", FrameRecord(0, TraceDirection::In, frame).substr(kStampWidth));
}

}  // namespace
}  // namespace rmt4
