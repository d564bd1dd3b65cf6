#pragma once

// Who the OSC server answers and pushes to: reply ports set by /reply_port,
// and the clients that follow parameters (/subscribe) or the meters
// (/meters) until their time runs out. Bounded; used on the server's thread.

#include <bitset>
#include <compare>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ipv4_address.h"
#include "protocol/address_map.h"

namespace rmt4 {

struct BitParam;

struct OscPeer {
  Ipv4Address address = 0;
  std::uint16_t port = 0;
  friend auto operator<=>(const OscPeer&, const OscPeer&) = default;
};

class OscClients {
 public:
  static constexpr std::size_t kMaxClients = 64;
  static constexpr std::size_t kMaxSubscriptions = 16;
  /// Reply ports kept; the one set longest ago gives way.
  static constexpr std::size_t kMaxReplyPorts = 64;

  /// Where answers to `sender` go: its address, at the port its address
  /// asked for with /reply_port, else at the port it sent from. Keyed by
  /// address, so that one-shot senders (a new source port each time) can
  /// set it once for the programs that listen on that machine.
  [[nodiscard]] OscPeer ReplyTo(OscPeer sender) const;
  /// 0 forgets the address's reply port.
  void SetReplyPort(Ipv4Address sender, std::uint16_t port, std::int64_t nowMs);

  /// `client` follows `addresses` and the bit names `bits` until `untilMs`;
  /// the same `pattern` again renews. False when the table is full.
  bool Subscribe(OscPeer client, const std::string& pattern, const std::vector<ParamAddress>& addresses,
                 const std::vector<const BitParam*>& bits, std::int64_t untilMs);
  /// Ends `pattern`'s subscription, or all of the client's with none.
  void Unsubscribe(OscPeer client, const std::optional<std::string>& pattern);
  /// `client` receives the meters until `untilMs` (in the past: no more). False when the table is full.
  bool WatchMeters(OscPeer client, std::int64_t untilMs);

  /// Forgets what ran out by `nowMs`.
  void Expire(std::int64_t nowMs);
  /// Whether anyone follows anything at `nowMs`.
  [[nodiscard]] bool AnyLive(std::int64_t nowMs) const;
  /// The clients following `address` at `nowMs`.
  [[nodiscard]] std::vector<OscPeer> Followers(ParamAddress address, std::int64_t nowMs) const;
  /// The clients following the bit name `bits` at `nowMs`.
  [[nodiscard]] std::vector<OscPeer> Followers(const BitParam& bits, std::int64_t nowMs) const;
  [[nodiscard]] std::vector<OscPeer> MeterWatchers(std::int64_t nowMs) const;

 private:
  struct Subscription {
    std::string pattern;
    std::bitset<kParamCount> addresses;
    std::vector<const BitParam*> bits;
    std::int64_t untilMs = 0;
  };
  struct Client {
    std::vector<Subscription> subscriptions;
    std::int64_t metersUntilMs = 0;
  };
  struct ReplyPort {
    std::uint16_t port = 0;
    std::int64_t setMs = 0;
  };

  /// The client's entry, made when there is room; none when the table is full.
  Client* Entry(OscPeer client);
  /// The clients with a live subscription that `follows`.
  [[nodiscard]] std::vector<OscPeer> FollowersWhere(std::int64_t nowMs,
                                                    const std::function<bool(const Subscription&)>& follows) const;

  std::map<OscPeer, Client> clients_;
  std::map<Ipv4Address, ReplyPort> replyPorts_;
};

}  // namespace rmt4
