#include "emulator/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rmt4::emulator {
namespace {

using namespace std::chrono_literals;

ParsedCommandLine Parse(std::vector<std::string_view> arguments) { return ParseCommandLine(arguments); }

TEST(ConsoleOptions, DefaultsServeTheConsolePortsOn127_0_0_2) {
  const auto parsed = Parse({});
  ASSERT_TRUE(parsed.options);
  const Options& o = *parsed.options;
  EXPECT_EQ(o.address, 0x7F000002u);
  EXPECT_EQ(o.tcpPort, 6010);
  EXPECT_EQ(o.udpPort, 1010);
  EXPECT_FALSE(o.pty);
  EXPECT_EQ(o.deviceType, 20024);
  EXPECT_EQ(o.modeLockMask, 0u);
  EXPECT_EQ(o.paceBytesPerSecond, 0u);
  EXPECT_FALSE(o.startSilent);
}

TEST(ConsoleOptions, EveryOptionIsRead) {
  const auto parsed = Parse({"--address",
                             "127.0.0.5",
                             "--tcp-port",
                             "0",
                             "--udp-port=41010",
                             "--pty",
                             "--device-type",
                             "0x4E39",
                             "--locked-modes",
                             "0x12",
                             "--seed",
                             "99",
                             "--verbose",
                             "--drop-prob",
                             "0.1",
                             "--corrupt-prob=0.2",
                             "--delay-ms",
                             "150",
                             "--delay-prob",
                             "0.5",
                             "--pieces",
                             "4",
                             "--silent",
                             "--pace-bps",
                             "12800"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  const Options& o = *parsed.options;
  EXPECT_EQ(o.address, 0x7F000005u);
  EXPECT_EQ(o.tcpPort, 0);
  EXPECT_EQ(o.udpPort, 41010);
  EXPECT_TRUE(o.pty);
  EXPECT_EQ(o.deviceType, 0x4E39);
  EXPECT_EQ(o.modeLockMask, 0x12u);
  EXPECT_EQ(o.seed, 99u);
  EXPECT_TRUE(o.verbose);
  EXPECT_DOUBLE_EQ(o.faults.dropProbability, 0.1);
  EXPECT_DOUBLE_EQ(o.faults.corruptProbability, 0.2);
  EXPECT_EQ(o.faults.delay, 150ms);
  EXPECT_DOUBLE_EQ(o.faults.delayProbability, 0.5);
  EXPECT_EQ(o.faults.pieceMaxBytes, 4u);
  EXPECT_TRUE(o.startSilent);
  EXPECT_EQ(o.paceBytesPerSecond, 12800u);
}

TEST(ConsoleOptions, BadValuesAreErrorsThatNameTheOption) {
  const std::vector<std::vector<std::string_view>> bad = {
      {"--address", "192.168.1.10"},  // never off loopback
      {"--address", "127.0.0"},
      {"--tcp-port", "65536"},
      {"--udp-port", "-1"},
      {"--device-type", "300"},  // would read as the mode form of the reply
      {"--device-type", "0x2FF"},
      {"--drop-prob", "1.5"},
      {"--corrupt-prob", "nan"},
      {"--delay-ms", "ten"},
      {"--seed"},
      {"--pty=1"},
      {"--frobnicate"},
  };
  for (const auto& arguments : bad) {
    const auto parsed = Parse(arguments);
    EXPECT_FALSE(parsed.options) << arguments[0];
    EXPECT_NE(parsed.error.find(arguments[0].substr(0, arguments[0].find('='))), std::string::npos) << parsed.error;
  }
}

TEST(ConsoleOptions, HelpDocumentsEveryOptionAndTheReadyLine) {
  EXPECT_TRUE(Parse({"--help"}).help);
  const std::string usage = UsageText();
  for (const char* name : {"--address",     "--tcp-port",     "--udp-port", "--pty",
                           "--device-type", "--locked-modes", "--seed",     "--verbose",
                           "--drop-prob",   "--corrupt-prob", "--delay-ms", "--delay-prob",
                           "--pieces",      "--silent",       "--pace-bps", "ready tcp=PORT udp=PORT",
                           "serial: PATH",  "set ADDR VALUE", "get ADDR",   "quit",
                           "unplug",        "silence",        "talk",       "peer"}) {
    EXPECT_NE(usage.find(name), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace rmt4::emulator
