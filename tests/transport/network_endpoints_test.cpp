#include "transport/network_endpoints.h"

#include <gtest/gtest.h>

#include <map>

#include "transport/local_address.h"

namespace rmt4 {
namespace {

NetworkEndpoints FromVariables(const std::map<std::string, std::string>& variables) {
  return NetworkEndpoints::FromEnvironment([&](std::string_view name) -> std::optional<std::string> {
    const auto found = variables.find(std::string(name));
    if (found == variables.end()) return std::nullopt;
    return found->second;
  });
}

TEST(NetworkEndpoints, ConsoleDefaultsWithoutVariables) {
  const NetworkEndpoints endpoints = FromVariables({});
  EXPECT_FALSE(endpoints.localAddress.has_value());
  EXPECT_EQ(endpoints.broadcastAddress, 0xFFFFFFFFu);
  EXPECT_EQ(endpoints.tcpPort, 6010);
  EXPECT_EQ(endpoints.udpPort, 1010);
  EXPECT_TRUE(endpoints.problems.empty());
}

TEST(NetworkEndpoints, VariablesReplaceEachValue) {
  const NetworkEndpoints endpoints = FromVariables({{"RMT4_LOCAL_ADDRESS", "127.0.0.1"},
                                                    {"RMT4_BROADCAST_ADDRESS", "127.255.255.255"},
                                                    {"RMT4_TCP_PORT", "16010"},
                                                    {"RMT4_UDP_PORT", "11010"}});
  EXPECT_EQ(endpoints.localAddress, 0x7F000001u);
  EXPECT_EQ(endpoints.broadcastAddress, 0x7FFFFFFFu);
  EXPECT_EQ(endpoints.tcpPort, 16010);
  EXPECT_EQ(endpoints.udpPort, 11010);
  EXPECT_TRUE(endpoints.problems.empty());
}

TEST(NetworkEndpoints, UnusableValuesAreReportedAndDefaultsStay) {
  const NetworkEndpoints endpoints = FromVariables({{"RMT4_LOCAL_ADDRESS", "127.0.0"},
                                                    {"RMT4_BROADCAST_ADDRESS", "localhost"},
                                                    {"RMT4_TCP_PORT", "70000"},
                                                    {"RMT4_UDP_PORT", "10x"}});
  EXPECT_FALSE(endpoints.localAddress.has_value());
  EXPECT_EQ(endpoints.broadcastAddress, 0xFFFFFFFFu);
  EXPECT_EQ(endpoints.tcpPort, 6010);
  EXPECT_EQ(endpoints.udpPort, 1010);
  ASSERT_EQ(endpoints.problems.size(), 4u);
  EXPECT_NE(endpoints.problems[0].find("RMT4_LOCAL_ADDRESS"), std::string::npos);
  EXPECT_NE(endpoints.problems[3].find("RMT4_UDP_PORT"), std::string::npos);
}

TEST(NetworkLocalAddress, FirstUpNonLoopbackInterfaceWins) {
  const std::vector<InterfaceAddress> interfaces{
      {0x7F000001, true, true}, {0xC0A80005, false, false}, {0xC0A80164, true, false}, {0x0A000001, true, false}};
  EXPECT_EQ(ChooseLocalAddress(interfaces, 0x0A0A0A0A), 0xC0A80164u);
}

TEST(NetworkLocalAddress, LoopbackOnlyFallsBackToHostName) {
  const std::vector<InterfaceAddress> loopbackOnly{{0x7F000001, true, true}};
  EXPECT_EQ(ChooseLocalAddress(loopbackOnly, 0x7F000101), 0x7F000101u);
  EXPECT_FALSE(ChooseLocalAddress(loopbackOnly, std::nullopt).has_value());
}

TEST(NetworkLocalAddress, SearchEndsWithinItsLimit) {
  // Whatever this machine has, the search answers within its limit (plus one system query).
  const std::atomic<bool> keepGoing{true};
  const auto start = std::chrono::steady_clock::now();
  const Ipv4Address address = FindLocalAddress(keepGoing, std::chrono::milliseconds(200));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_NE(address, 0u);
}

}  // namespace
}  // namespace rmt4
