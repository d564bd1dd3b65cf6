#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <utility>

#include "protocol/ipv4_address.h"

namespace rmt4 {

/// Owns one socket descriptor and closes it once.
class SocketHandle {
 public:
  SocketHandle() = default;
  explicit SocketHandle(int descriptor) : descriptor_(descriptor) {}
  SocketHandle(SocketHandle&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}
  SocketHandle& operator=(SocketHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
  }
  SocketHandle(const SocketHandle&) = delete;
  SocketHandle& operator=(const SocketHandle&) = delete;
  ~SocketHandle() { Reset(); }

  [[nodiscard]] int get() const { return descriptor_; }
  [[nodiscard]] bool valid() const { return descriptor_ >= 0; }
  void Reset();

 private:
  int descriptor_ = -1;
};

[[nodiscard]] sockaddr_in SocketAddress(Ipv4Address address, std::uint16_t port);
[[nodiscard]] inline Ipv4Address AddressOf(const sockaddr_in& socketAddress) { return ntohl(socketAddress.sin_addr.s_addr); }

}  // namespace rmt4
