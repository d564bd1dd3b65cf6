#pragma once

#include <algorithm>
#include <mutex>
#include <thread>
#include <vector>

#include "emulator/in_process_console.h"

namespace rmt4::test {

/// The program's in-process console, recording what the link sent so tests
/// can check the wire traffic and its timing.
class InProcessConsole : public emulator::InProcessConsole {
 public:
  using emulator::InProcessConsole::InProcessConsole;

  /// One frame the PC sent, when (on the link's clock), whether the link
  /// counted as up once the worker had sent it, and whether it was answered.
  struct Request {
    std::uint8_t command;
    std::vector<std::uint8_t> payload;
    std::int64_t atMs;
    bool linkUp;
    bool answered;
  };

  /// Every frame the PC sent, in order.
  [[nodiscard]] std::vector<Request> Requests() const {
    std::lock_guard lock(mutex_);
    return sent_;
  }
  /// Every command the PC sent, in order.
  [[nodiscard]] std::vector<std::uint8_t> Sent() const {
    std::lock_guard lock(mutex_);
    std::vector<std::uint8_t> commands;
    for (const Request& request : sent_) commands.push_back(request.command);
    return commands;
  }
  [[nodiscard]] int CountSent(Command command) const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count_if(sent_.begin(), sent_.end(), [command](const Request& request) {
      return request.command == static_cast<std::uint8_t>(command);
    }));
  }
  /// Payloads of every frame of this command sent so far.
  [[nodiscard]] std::vector<std::vector<std::uint8_t>> Payloads(Command command) const {
    std::lock_guard lock(mutex_);
    std::vector<std::vector<std::uint8_t>> payloads;
    for (const Request& request : sent_) {
      if (request.command == static_cast<std::uint8_t>(command)) payloads.push_back(request.payload);
    }
    return payloads;
  }
  /// When each connection attempt began, on the link's clock.
  [[nodiscard]] std::vector<std::int64_t> ConnectStarts() const {
    std::lock_guard lock(mutex_);
    return connectStarts_;
  }
  /// The link's worker thread, which made the transport.
  [[nodiscard]] std::thread::id linkThread() const { return linkThread_; }

 protected:
  void OnConnectStarted() override {
    std::lock_guard lock(mutex_);
    connectStarts_.push_back(context().state.clock.NowMs());
  }
  void OnRequest(const FrameView& request, bool answered) override {
    std::lock_guard lock(mutex_);
    sent_.push_back(Request{request.command, {request.payload.begin(), request.payload.end()},
                            context().state.clock.NowMs(), context().linkUp.load(), answered});
  }

 private:
  mutable std::mutex mutex_;
  std::vector<Request> sent_;
  std::vector<std::int64_t> connectStarts_;
  const std::thread::id linkThread_ = std::this_thread::get_id();
};

}  // namespace rmt4::test
