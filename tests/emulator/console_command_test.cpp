#include "emulator/console_command.h"

#include <gtest/gtest.h>

namespace rmt4::emulator {
namespace {

using namespace std::chrono_literals;
using Kind = ConsoleCommand::Kind;

ConsoleCommand Command(std::string_view line) {
  const auto parsed = ParseConsoleCommand(line);
  const auto* command = std::get_if<ConsoleCommand>(&parsed);
  EXPECT_NE(command, nullptr) << line;
  return command ? *command : ConsoleCommand{Kind::Quit, 0, 0, {}};
}

bool IsError(std::string_view line) {
  const auto parsed = ParseConsoleCommand(line);
  const auto* error = std::get_if<std::string>(&parsed);
  return error != nullptr && error->starts_with("error");
}

TEST(ConsoleCommandLine, ReadsEachCommand) {
  const auto set = Command("set 136 900");
  EXPECT_EQ(set.kind, Kind::Set);
  EXPECT_EQ(set.address, 136);
  EXPECT_EQ(set.value, 900);
  const auto hex = Command("  set 0x4B4 0xFFFF\r");
  EXPECT_EQ(hex.address, 1204);
  EXPECT_EQ(hex.value, 0xFFFF);
  EXPECT_EQ(Command("get 1573").address, 1573);
  EXPECT_EQ(Command("silence").duration, std::nullopt);
  EXPECT_EQ(Command("silence 250").duration, 250ms);
  EXPECT_EQ(Command("talk").kind, Kind::Talk);
  EXPECT_EQ(Command("unplug").kind, Kind::Unplug);
  EXPECT_EQ(Command("peer").kind, Kind::Peer);
  EXPECT_EQ(Command("quit").kind, Kind::Quit);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(ParseConsoleCommand("   ")));
}

TEST(ConsoleCommandLine, RejectsWhatItCannotRead) {
  for (const char* line : {"set 1574 1", "set 1 65536", "set 1", "set a b", "get", "get -1", "quit now", "silence x",
                           "silence 1 2", "SET 1 2", "reboot"}) {
    EXPECT_TRUE(IsError(line)) << line;
  }
}

}  // namespace
}  // namespace rmt4::emulator
