#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/unique_fd.h"
#include "protocol/command.h"
#include "protocol/stream_buffer.h"

namespace rmt4::emulator::test {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

struct ReceivedFrame {
  std::uint8_t command;
  Bytes payload;
};

/// The PC's end of a stream link (TCP or serial), built and read with the
/// program's own frame code.
class FramePeer {
 public:
  explicit FramePeer(UniqueFd fd) : fd_(std::move(fd)) {}

  [[nodiscard]] bool IsOpen() const { return fd_.Valid(); }
  void Send(Command command, const Bytes& payload = {});
  void SendRaw(std::span<const std::uint8_t> bytes);

  /// The next frame, waiting up to `timeout`.
  [[nodiscard]] std::optional<ReceivedFrame> Next(std::chrono::milliseconds timeout = 2s);
  /// Up to `count` frames, waiting up to `timeout` for all of them.
  [[nodiscard]] std::vector<ReceivedFrame> Collect(std::size_t count, std::chrono::milliseconds timeout = 3s);
  /// Reads until the other side closes; false if it stays open for `timeout`.
  [[nodiscard]] bool ClosedWithin(std::chrono::milliseconds timeout);

  /// Bytes and read calls seen so far, valid frames or not.
  std::size_t bytesReceived = 0;
  std::size_t readsWithData = 0;

 private:
  /// One read of what is available, waiting up to `timeout`; false on timeout or close.
  bool ReadSome(std::chrono::milliseconds timeout);

  UniqueFd fd_;
  StreamBuffer buffer_;
  std::deque<ReceivedFrame> frames_;
  bool closed_ = false;
};

[[nodiscard]] FramePeer ConnectTcp(const std::string& address, int port);
/// Opens a serial device (a pseudo-terminal here) raw, as the PC's serial transport would.
[[nodiscard]] FramePeer OpenSerial(const std::string& path);

/// The PC's UDP socket for module commands: on 127.0.0.1 and a free port,
/// or, as the PC's discovery binds it, on the wildcard address and a fixed
/// port shared with SO_REUSEADDR.
class UdpPeer {
 public:
  UdpPeer();
  explicit UdpPeer(int wildcardPort);
  void Send(const std::string& address, int port, std::span<const std::uint8_t> datagram);
  void Send(const std::string& address, int port, const std::string& text);
  [[nodiscard]] std::optional<std::string> Receive(std::chrono::milliseconds timeout = 2s);
  [[nodiscard]] std::optional<std::string> Ask(const std::string& address, int port, const std::string& text);

 private:
  UniqueFd fd_;
};

/// Address → value of every ReadParams entry in the frames.
[[nodiscard]] std::map<int, int> ValuesIn(const std::vector<ReceivedFrame>& frames);
/// A ReadParams payload asking for the addresses.
[[nodiscard]] Bytes ReadRequest(std::initializer_list<int> addresses);

}  // namespace rmt4::emulator::test
