// Stopping the link must win at any moment: while starting, connecting,
// identifying, reading, in the steady loop, with the console silent or not.
#include <gtest/gtest.h>

#include "link_fixture.h"

namespace rmt4::test {
namespace {

using namespace std::chrono_literals;

struct StopMoment {
  ConnectionKind kind;
  bool silent;
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
  if (moment.silent) {
    ASSERT_TRUE(Eventually([&] { return transport_.load() != nullptr; }));
    Console().SetSilent(true);
  }
  std::this_thread::sleep_for(moment.after);
  const auto start = std::chrono::steady_clock::now();
  worker_->StopLink();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);
}

// 0 ms: before the worker thread ran at all; 600 ms: connecting and
// identifying; 1100 ms: reading; 2500 ms: steady loop (or silent waits).
INSTANTIATE_TEST_SUITE_P(AtAnyMoment, LinkStopTest,
                         ::testing::Values(StopMoment{kUsbHid, false, 0ms}, StopMoment{kUsbHid, false, 1ms},
                                           StopMoment{kUsbHid, false, 600ms}, StopMoment{kUsbHid, false, 1100ms},
                                           StopMoment{kUsbHid, false, 2500ms}, StopMoment{kNetwork, false, 0ms},
                                           StopMoment{kNetwork, false, 1100ms}, StopMoment{kNetwork, true, 700ms},
                                           StopMoment{kNetwork, true, 2500ms}, StopMoment{kUsbHid, true, 2500ms}));

}  // namespace
}  // namespace rmt4::test
