#include "transport/local_address.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <unistd.h>

#include <array>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/socket_address.h"
#include "platform/unique_fd.h"

namespace rmt4 {
namespace {

std::vector<InterfaceAddress> SystemInterfaces() {
  std::vector<InterfaceAddress> interfaces;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return interfaces;
  for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
    if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) continue;
    const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
    interfaces.push_back({AddressOf(*address), (entry->ifa_flags & IFF_UP) != 0,
                          (entry->ifa_flags & IFF_LOOPBACK) != 0});
  }
  freeifaddrs(list);
  return interfaces;
}

}  // namespace

std::vector<Ipv4Subnet> PcSubnets() {
  std::vector<Ipv4Subnet> subnets;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return subnets;
  for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
    if (entry->ifa_addr == nullptr || entry->ifa_netmask == nullptr || entry->ifa_addr->sa_family != AF_INET) continue;
    if ((entry->ifa_flags & IFF_UP) == 0 || (entry->ifa_flags & IFF_LOOPBACK) != 0) continue;
    subnets.push_back({AddressOf(*reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)),
                       AddressOf(*reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask))});
  }
  freeifaddrs(list);
  return subnets;
}

namespace {

std::optional<Ipv4Address> HostNameAddress() {
  std::array<char, 256> name{};
  if (gethostname(name.data(), name.size() - 1) != 0) return std::nullopt;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  addrinfo* results = nullptr;
  if (getaddrinfo(name.data(), nullptr, &hints, &results) != 0) return std::nullopt;
  std::optional<Ipv4Address> address;
  if (results != nullptr && results->ai_addr != nullptr) {
    address = AddressOf(*reinterpret_cast<const sockaddr_in*>(results->ai_addr));
  }
  freeaddrinfo(results);
  return address;
}

/// One host-name lookup on a thread of its own. The searcher only looks at
/// the answer; when it stops caring, the lookup finishes on its own and its
/// thread frees what the two shared.
class HostNameLookup {
 public:
  explicit HostNameLookup(const std::function<std::optional<Ipv4Address>()>& lookup)
      : answer_(std::make_shared<Answer>()) {
    try {
      std::thread([answer = answer_, lookup] {
        const std::optional<Ipv4Address> address = lookup();
        std::lock_guard lock(answer->mutex);
        answer->address = address;
      }).detach();
    } catch (const std::system_error&) {
      // No thread for it: the search goes on with the interfaces alone.
    }
  }

  /// The address once the lookup has found one.
  [[nodiscard]] std::optional<Ipv4Address> Address() const {
    std::lock_guard lock(answer_->mutex);
    return answer_->address;
  }

 private:
  struct Answer {
    std::mutex mutex;
    std::optional<Ipv4Address> address;
  };
  std::shared_ptr<Answer> answer_;
};

}  // namespace

LocalAddressQueries LocalAddressQueries::System() { return {SystemInterfaces, HostNameAddress}; }

std::optional<Ipv4Address> ChooseLocalAddress(const std::vector<InterfaceAddress>& interfaces,
                                              std::optional<Ipv4Address> hostNameAddress) {
  for (const InterfaceAddress& candidate : interfaces) {
    if (candidate.up && !candidate.loopback && candidate.address != 0) return candidate.address;
  }
  return hostNameAddress;
}

Ipv4Address FindLocalAddress(RunFlag& keepGoing, std::chrono::milliseconds limit,
                             const LocalAddressQueries& queries) {
  Clock& clock = keepGoing.clock();
  const std::int64_t deadline = clock.NowMs() + limit.count();
  std::optional<Ipv4Address> found;
  std::unique_ptr<HostNameLookup> hostName;  // started once no interface qualifies
  while (true) {
    const std::vector<InterfaceAddress> interfaces = queries.interfaces();
    std::optional<Ipv4Address> hostNameAddress;
    if (!ChooseLocalAddress(interfaces, std::nullopt)) {
      if (!hostName) hostName = std::make_unique<HostNameLookup>(queries.hostNameAddress);
      hostNameAddress = hostName->Address();
    }
    if (const auto address = ChooseLocalAddress(interfaces, hostNameAddress)) found = address;
    if (found && *found != kLoopbackAddress) return *found;
    if (clock.NowMs() >= deadline || !keepGoing.SleepFor(std::chrono::milliseconds(10))) break;
  }
  return found.value_or(kLoopbackAddress);
}

}  // namespace rmt4
