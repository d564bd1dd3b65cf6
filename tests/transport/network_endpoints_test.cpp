#include "transport/network_endpoints.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

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
  RunFlag keepGoing(SteadyClock());
  keepGoing.store(true);
  const auto start = std::chrono::steady_clock::now();
  const Ipv4Address address = FindLocalAddress(keepGoing, std::chrono::milliseconds(200));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_NE(address, 0u);
}

/// A resolver that answers after `delay`, counting the lookups. Its state is
/// shared with the lookup thread, which may outlive the test's search.
struct SlowResolver {
  struct State {
    std::mutex mutex;
    std::condition_variable released;
    bool done = false;
    int lookups = 0;
  };
  std::shared_ptr<State> state = std::make_shared<State>();

  std::function<std::optional<Ipv4Address>()> Lookup(std::chrono::milliseconds delay, Ipv4Address answer) const {
    return [state = state, delay, answer]() -> std::optional<Ipv4Address> {
      std::unique_lock lock(state->mutex);
      ++state->lookups;
      state->released.wait_for(lock, delay, [&] { return state->done; });
      return answer;
    };
  }
  int Lookups() const {
    std::lock_guard lock(state->mutex);
    return state->lookups;
  }
  ~SlowResolver() {
    std::lock_guard lock(state->mutex);
    state->done = true;
    state->released.notify_all();
  }
};

TEST(NetworkLocalAddress, HostNameIsLookedUpOncePerSearchAndNeverWaitedFor) {
  using namespace std::chrono_literals;
  const std::vector<InterfaceAddress> loopbackOnly{{0x7F000001, true, true}};
  const std::vector<InterfaceAddress> wired{{0x7F000001, true, true}, {0xC0A80164, true, false}};
  struct Case {
    const char* what;
    std::vector<InterfaceAddress> interfaces;
    std::chrono::milliseconds resolverDelay;
    Ipv4Address expected;
    int lookups;
  };
  const std::vector<Case> cases{
      {"an interface qualifies: no lookup", wired, 0ms, 0xC0A80164, 0},
      {"a quick resolver answers", loopbackOnly, 0ms, 0x0A000005, 1},
      {"a hanging resolver is left behind", loopbackOnly, 3000ms, kLoopbackAddress, 1},
  };
  for (const Case& c : cases) {
    SlowResolver resolver;
    int interfaceQueries = 0;
    const LocalAddressQueries queries{[&] {
                                        ++interfaceQueries;
                                        return c.interfaces;
                                      },
                                      resolver.Lookup(c.resolverDelay, 0x0A000005)};
    RunFlag keepGoing(SteadyClock());
  keepGoing.store(true);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FindLocalAddress(keepGoing, 300ms, queries), c.expected) << c.what;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms) << c.what;
    EXPECT_EQ(resolver.Lookups(), c.lookups) << c.what;
    if (c.expected == kLoopbackAddress) {
      EXPECT_GT(interfaceQueries, 5) << c.what << ": the tries went on every 10 ms";
    }
  }
}

}  // namespace
}  // namespace rmt4
