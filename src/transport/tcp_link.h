#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>

#include "protocol/ipv4_address.h"
#include "platform/socket_address.h"
#include "platform/unique_fd.h"
#include "transport/worker_thread.h"

namespace rmt4 {

class FrameParser;

/// The TCP connection to the console's network module and its reader thread,
/// which hands every received byte to the parser. Connect, Send and Close may
/// come from different threads; the socket is guarded, the reader is not
/// blocked by the guard.
class TcpLink {
 public:
  TcpLink(FrameParser& parser, const std::atomic<bool>& appRunning);
  TcpLink(const TcpLink&) = delete;
  TcpLink& operator=(const TcpLink&) = delete;
  ~TcpLink();

  /// Replaces the connection by a new one to `server`:`port`, bound to
  /// `source` when given. Gives up after `timeout` or when the program is
  /// closing. Returns 0 when connected, else the system's error number.
  int Connect(Ipv4Address server, std::uint16_t port, std::optional<Ipv4Address> source,
              std::chrono::milliseconds timeout);
  /// Sends the whole frame; closes the connection when that fails. Returns
  /// false when nothing or not all was sent.
  bool Send(std::span<const std::uint8_t> bytes);
  /// Ends the reader and closes the socket; safe at any time.
  void Close();
  /// The reader thread is receiving.
  [[nodiscard]] bool ReaderRunning() const { return reader_.Running(); }

 private:
  void CloseLocked();
  void ReadLoop(int descriptor);

  FrameParser& parser_;
  const std::atomic<bool>& appRunning_;
  mutable std::mutex mutex_;
  UniqueFd socket_;
  std::atomic<bool> readerStop_{false};
  WorkerThread reader_;
};

}  // namespace rmt4
