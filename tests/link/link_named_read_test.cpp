// A short-lived client's link: no settle pauses, and a read of only the named addresses.
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

  /// Every address asked for in ReadParams frames, the meter poll excepted.
  std::multiset<ParamAddress> AddressesAsked() {
    std::multiset<ParamAddress> asked;
    for (const auto& payload : Console().Payloads(Command::ReadParams)) {
      for (std::size_t at = 0; at + 2 <= payload.size(); at += 2) {
        const auto address = static_cast<ParamAddress>(payload[at] << 8 | payload[at + 1]);
        if (address != address::kLevelMeters) asked.insert(address);
      }
    }
    return asked;
  }

  std::int64_t startedAt_ = 0;
};

TEST_F(NamedReadTest, AsksOnlyForTheNamedAddressesOnceEachInBatchesOfTwentyFour) {
  std::vector<ParamAddress> named{1573};
  for (ParamAddress a = 100; a < 130; ++a) named.push_back(a);
  (void)console_.ChangeFromConsole(100, 77);
  (void)console_.ChangeFromConsole(1573, 4242);
  StartReading(named);

  EXPECT_EQ(Params().Value(100), 77);
  EXPECT_EQ(Params().Value(1573), 4242);
  EXPECT_EQ(AddressesAsked(), std::multiset<ParamAddress>(named.begin(), named.end()));
  for (const auto& payload : Console().Payloads(Command::ReadParams)) EXPECT_LE(payload.size(), 48u);
  EXPECT_EQ(Console().CountSent(Command::ReadModeName), 0) << "mode names belong to the complete read";
}

TEST_F(NamedReadTest, AValueTheConsoleNeverSendsStaysMarkedAndIsAskedForAgain) {
  console_.LeaveOutOfReads(136);
  StartReading({136, 137});
  EXPECT_FALSE(Params()[137].rereadRequested.load());
  EXPECT_TRUE(Params()[136].rereadRequested.load()) << "a missing value must not look read";
  const std::size_t askedDuringRead = AddressesAsked().count(136);
  EXPECT_TRUE(Eventually([&] { return AddressesAsked().count(136) > askedDuringRead; }));
}

// The program keeps 500 ms at start and 500 ms after the keep-alive; the read follows the connected status at once.
class SettlePauseTest : public NamedReadTest, public ::testing::WithParamInterface<bool> {};

TEST_P(SettlePauseTest, AreKeptByTheProgramAndLeftOutByAShortLivedClient) {
  const bool skip = GetParam();
  StartReading({136}, skip);
  const auto requests = Console().Requests();
  const auto read = std::find_if(requests.begin(), requests.end(), [](const InProcessConsole::Request& r) {
    return r.command == static_cast<std::uint8_t>(Command::ReadParams);
  });
  ASSERT_NE(read, requests.end());
  EXPECT_EQ(Console().ConnectStarts().front() - startedAt_, skip ? 0 : 500);
  EXPECT_GE(read->atMs - startedAt_, skip ? 0 : 1000);
  EXPECT_LE(read->atMs - startedAt_, skip ? 20 : 1020);
}

INSTANTIATE_TEST_SUITE_P(Pauses, SettlePauseTest, ::testing::Bool(),
                         [](const auto& each) { return each.param ? "ShortLivedClient" : "Program"; });

}  // namespace
}  // namespace rmt4::test
