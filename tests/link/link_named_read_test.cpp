// A short-lived client's link: no settle pauses, and a read of only the
// addresses it names instead of everything.
#include <gtest/gtest.h>

#include <set>

#include "link_fixture.h"

namespace rmt4::test {
namespace {

class NamedReadTest : public LinkFixture {
 protected:
  void StartReading(std::vector<ParamAddress> named, bool skipSettlePauses = true) {
    adjustOptions_ = [named, skipSettlePauses](LinkWorker::Options& options) {
      options.readOnly = named;
      options.skipSettlePauses = skipSettlePauses;
    };
    startedAt_ = virtualClock_.NowMs();
    Start(kNetwork);
    ASSERT_TRUE(Eventually([&] { return worker_->SyncCount() >= 1; })) << "the read never ended";
  }

  /// Every address asked for in a ReadParams frame, the meter poll excepted.
  std::multiset<ParamAddress> AddressesAsked() const {
    std::multiset<ParamAddress> asked;
    for (const auto& payload : transport_.load()->Payloads(Command::ReadParams)) {
      for (std::size_t at = 0; at + 2 <= payload.size(); at += 2) {
        const auto address = static_cast<ParamAddress>(payload[at] << 8 | payload[at + 1]);
        if (address != address::kLevelMeters) asked.insert(address);
      }
    }
    return asked;
  }

  /// On the link's clock, since Start.
  std::int64_t FirstReadAt() const {
    for (const auto& request : transport_.load()->Requests()) {
      if (request.command == static_cast<std::uint8_t>(Command::ReadParams)) return request.atMs - startedAt_;
    }
    return -1;
  }

  std::int64_t startedAt_ = 0;
};

TEST_F(NamedReadTest, AsksOnlyForTheNamedAddressesOnceEachInBatchesOfTwentyFour) {
  std::vector<ParamAddress> named;
  for (ParamAddress a = 100; a < 130; ++a) named.push_back(a);
  named.push_back(1573);
  (void)console_.ChangeFromConsole(100, 77);
  (void)console_.ChangeFromConsole(1573, 4242);
  StartReading(named);

  EXPECT_EQ(Params().Value(100), 77);
  EXPECT_EQ(Params().Value(1573), 4242);
  for (const ParamAddress a : named) EXPECT_FALSE(Params()[a].rereadRequested.load()) << "address " << a;
  EXPECT_EQ(AddressesAsked(), std::multiset<ParamAddress>(named.begin(), named.end()));
  for (const auto& payload : Console().Payloads(Command::ReadParams)) EXPECT_LE(payload.size(), 48u);
  EXPECT_EQ(Console().CountSent(Command::ReadModeName), 0) << "mode names belong to the complete read";
}

TEST_F(NamedReadTest, AValueTheConsoleNeverSendsStaysMarkedAndIsAskedForAgain) {
  console_.LeaveOutOfReads(136);
  StartReading({136, 137});
  EXPECT_EQ(Params().Value(137), console_.Value(137));
  EXPECT_FALSE(Params()[137].rereadRequested.load());
  EXPECT_TRUE(Params()[136].rereadRequested.load()) << "a missing value must not look read";
  const std::size_t askedDuringRead = AddressesAsked().count(136);
  EXPECT_TRUE(Eventually([&] { return AddressesAsked().count(136) > askedDuringRead; }))
      << "the steady loop asks again";
}

struct PauseCase {
  bool skipSettlePauses;
  /// Least and most time from Start to the first read of a named address.
  std::int64_t earliestRead;
  std::int64_t latestRead;
};

class SettlePauseTest : public NamedReadTest, public ::testing::WithParamInterface<PauseCase> {};

TEST_P(SettlePauseTest, AreKeptByTheProgramAndLeftOutByAShortLivedClient) {
  StartReading({136}, GetParam().skipSettlePauses);
  const std::int64_t connectAt = Console().ConnectStarts().front() - startedAt_;
  const std::int64_t readAt = FirstReadAt();
  EXPECT_GE(readAt, GetParam().earliestRead);
  EXPECT_LE(readAt, GetParam().latestRead);
  EXPECT_EQ(connectAt, GetParam().skipSettlePauses ? 0 : 500) << "the start pause";
}

// The program: 500 ms at start, 500 ms after the keep-alive, 100 ms before the read.
INSTANTIATE_TEST_SUITE_P(Pauses, SettlePauseTest,
                         ::testing::Values(PauseCase{false, 1100, 1200}, PauseCase{true, 0, 20}));

}  // namespace
}  // namespace rmt4::test
