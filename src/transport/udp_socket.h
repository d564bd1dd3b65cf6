#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "platform/ipv4_address.h"
#include "platform/os_result.h"
#include "platform/socket_address.h"
#include "platform/unique_fd.h"

namespace rmt4 {

/// The UDP socket of the console search: broadcast allowed, the port shared
/// (SO_REUSEADDR), datagrams from anyone bounded in size. Used by one thread,
/// except Interrupt, which any thread may call.
class UdpSocket {
 public:
  UdpSocket();

  /// Datagrams longer than this are not module texts and are dropped whole.
  static constexpr std::size_t kMaxDatagram = 1500;

  /// Binds to `address` (any local address when not given) and `port`, with
  /// the socket options above. Success, or why not.
  OsResult Open(std::optional<Ipv4Address> address, std::uint16_t port);
  void Close() { socket_.Reset(); }

  /// Sends one datagram without waiting for room. Success, or why not;
  /// datagrams may be lost anyway, so the search retries.
  [[nodiscard]] OsResult SendTo(Ipv4Address address, std::uint16_t port, std::string_view bytes);

  /// Waits up to `limit` for a datagram, then hands every non-empty datagram
  /// that has arrived to `deliver` with its sender, oldest first. False when none arrived.
  bool ReceiveFor(std::chrono::milliseconds limit,
                  const std::function<void(std::string_view text, Ipv4Address sender)>& deliver);

  /// Ends a ReceiveFor in progress at once, and makes every later one return
  /// at once, until Rearm: a stopping search need not wait out its receive.
  void Interrupt();
  /// Lets ReceiveFor wait again; called before the receiving thread starts.
  void Rearm();

 private:
  UniqueFd socket_;
  /// Readable while interrupted (an eventfd; without one, receives just run to their limit).
  UniqueFd interrupt_;
};

}  // namespace rmt4
