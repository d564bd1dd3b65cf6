#pragma once

#include <chrono>
#include <cstdio>
#include <thread>

#include "link/link_worker.h"

namespace rmt4::bench {

/// The link's owner in a benchmark: no window, messages on standard error
/// (answered No), the first console found is taken.
class QuietOwner final : public LinkOwner {
 public:
  MessageButton ShowMessage(MessageStyle, std::string_view text, std::string_view) override {
    std::fprintf(stderr, "message: %.*s\n", static_cast<int>(text.size()), text.data());
    return MessageButton::No;
  }
  void PostNotify(UiNotify, int) override {}
  void SendStatus(LinkStatus) override {}
  std::optional<std::uint32_t> ChooseConsole(const std::vector<std::uint32_t>& consoles) override {
    return consoles.front();
  }
  void SetProgressMaximum(int) override {}
  void SetProgressFormat(const std::string&) override {}
  void SetProgressPosition(int) override {}
  void ShowProgress() override {}
  void HideProgress() override {}
};

/// Starts `worker`'s link and waits for its first complete read; false when
/// none ended within 20 s.
inline bool StartAndReadAll(LinkWorker& worker) {
  worker.StartLink();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (worker.SyncCount() == 0) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

}  // namespace rmt4::bench
