// Stopping the link must win at any moment: while starting, connecting,
// identifying, reading, in the steady loop, with the console silent or not.
#include <gtest/gtest.h>

#include "link_fixture.h"

namespace rmt4::test {
namespace {

using namespace std::chrono_literals;

enum class ConsoleState { Answering, Silent, Unplugged };

struct StopMoment {
  ConnectionKind kind;
  ConsoleState console;
  std::chrono::milliseconds after;
};

class LinkStopTest : public LinkFixture, public ::testing::WithParamInterface<StopMoment> {
 protected:
  // The moments below are the phases of a link in real time.
  LinkStopTest() { linkClock_ = &SteadyClock(); }
};

TEST_P(LinkStopTest, StopReturnsWithinASecond) {
  const StopMoment moment = GetParam();
  Start(moment.kind);
  if (moment.console != ConsoleState::Answering) {
    ASSERT_TRUE(Eventually([&] { return transport_.load() != nullptr; }));
    if (moment.console == ConsoleState::Silent) Console().SetSilent(true);
    if (moment.console == ConsoleState::Unplugged) Console().SetPlugged(false);
  }
  std::this_thread::sleep_for(moment.after);
  const auto start = std::chrono::steady_clock::now();
  worker_->StopLink();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);
}

/// The moment as a test name: "UsbHid_Silent_2500ms".
std::string MomentName(const ::testing::TestParamInfo<StopMoment>& each) {
  constexpr const char* kStates[] = {"Answering", "Silent", "Unplugged"};
  const StopMoment& moment = each.param;
  return KindName(moment.kind) + "_" + kStates[static_cast<int>(moment.console)] + "_" +
         std::to_string(moment.after.count()) + "ms";
}

// 0 ms: before the worker thread ran at all; 100 ms: connecting to a
// console that is gone; 600 ms: connecting and identifying; 1100 ms: reading;
// 2500 ms: steady loop (or silent waits).
constexpr auto kAnswering = ConsoleState::Answering;
constexpr auto kSilent = ConsoleState::Silent;
INSTANTIATE_TEST_SUITE_P(AtAnyMoment, LinkStopTest,
                         ::testing::Values(StopMoment{kUsbHid, kAnswering, 0ms}, StopMoment{kUsbHid, kAnswering, 1ms},
                                           StopMoment{kUsbHid, ConsoleState::Unplugged, 100ms},
                                           StopMoment{kUsbHid, kAnswering, 600ms}, StopMoment{kUsbHid, kAnswering, 1100ms},
                                           StopMoment{kUsbHid, kAnswering, 2500ms}, StopMoment{kNetwork, kAnswering, 0ms},
                                           StopMoment{kNetwork, kAnswering, 1100ms}, StopMoment{kNetwork, kSilent, 700ms},
                                           StopMoment{kNetwork, kSilent, 2500ms}, StopMoment{kUsbHid, kSilent, 2500ms}),
                         MomentName);

}  // namespace
}  // namespace rmt4::test
