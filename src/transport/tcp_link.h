#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>

#include "platform/ipv4_address.h"
#include "platform/os_result.h"
#include "platform/socket_address.h"
#include "platform/unique_fd.h"
#include "protocol/run_flag.h"
#include "transport/worker_thread.h"

namespace rmt4 {

class FrameParser;

/// The TCP connection to the console's network module and its reader thread,
/// which hands every received byte to the parser. Connect, Send and Close may
/// come from different threads; the socket is guarded, the reader is not
/// blocked by the guard.
class TcpLink {
 public:
  TcpLink(FrameParser& parser, const RunFlag& appRunning);
  TcpLink(const TcpLink&) = delete;
  TcpLink& operator=(const TcpLink&) = delete;
  ~TcpLink();

  /// Replaces the connection by a new one to `server`:`port`, bound to
  /// `source` when given. Gives up after `timeout`, when the program is
  /// closing or when Close is called meanwhile. Success, or why not.
  OsResult Connect(Ipv4Address server, std::uint16_t port, std::optional<Ipv4Address> source,
              std::chrono::milliseconds timeout);
  /// Sends the whole frame, waiting at most a second for the peer to take it
  /// (less when Close is called meanwhile); closes the connection when that
  /// fails. Returns false when nothing or not all was sent.
  bool Send(std::span<const std::uint8_t> bytes);
  /// Ends the reader and closes the socket; safe at any time, and prompt
  /// even while a connect or a send is in progress.
  void Close();
  /// A problem the last Connect met but got over (the connection works, less
  /// well), for the owner to report; nothing when there was none.
  [[nodiscard]] std::optional<std::string> TakeProblem();
  /// The reader thread is receiving.
  [[nodiscard]] bool ReaderRunning() const { return reader_.Running(); }

 private:
  void CloseLocked();
  void ReadLoop(int descriptor);
  /// Connects and sends go on waiting only while the program runs and nobody closes.
  [[nodiscard]] bool KeepWaiting() const;
  void NoteProblem(std::string text);

  FrameParser& parser_;
  const RunFlag& appRunning_;
  mutable std::mutex mutex_;
  UniqueFd socket_;
  std::atomic<bool> readerStop_{false};
  /// An eventfd (made by the first Connect) that Close makes readable: the reader waits on it beside the
  /// socket, so that it sleeps until bytes arrive or it is told to end.
  UniqueFd readerWake_;
  std::atomic<int> closeRequests_{0};
  std::mutex problemMutex_;
  std::optional<std::string> problem_;
  WorkerThread reader_;
};

}  // namespace rmt4
