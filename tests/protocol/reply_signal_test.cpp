#include "protocol/reply_signal.h"

#include <gtest/gtest.h>

#include <thread>

namespace rmt4 {
namespace {

using std::chrono::milliseconds;

TEST(ReplySemaphore, ReleaseIsIdempotentAndTakenOnce) {
  ReplySemaphore semaphore;
  EXPECT_FALSE(semaphore.TryAcquireFor(milliseconds(0)));
  semaphore.Release();
  semaphore.Release();  // stays at one
  EXPECT_TRUE(semaphore.TryAcquireFor(milliseconds(0)));
  EXPECT_FALSE(semaphore.TryAcquireFor(milliseconds(10)));
}

TEST(ReplySemaphore, WakesAWaiterFromAnotherThread) {
  ReplySignal signal;
  signal.awaitingReply = true;
  std::thread reader([&] {
    std::this_thread::sleep_for(milliseconds(20));
    signal.ReleaseIfAwaiting();
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(signal.semaphore.TryAcquireFor(milliseconds(5000)));
  EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(4000));
  reader.join();

  signal.awaitingReply = false;
  signal.ReleaseIfAwaiting();
  EXPECT_FALSE(signal.semaphore.TryAcquireFor(milliseconds(0)));
}

}  // namespace
}  // namespace rmt4
