#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "protocol/link_owner.h"

namespace rmt4::test {

/// A link owner that records what the link layer tells it and answers
/// message boxes with a preset button. Every call may come from a link thread.
class RecordingOwner : public LinkOwner {
 public:
  struct Message {
    std::string text;
    std::string caption;
  };

  MessageButton ShowMessage(MessageStyle style, std::string_view text, std::string_view caption) override {
    std::lock_guard lock(mutex_);
    messages_.push_back({std::string(text), std::string(caption)});
    changed_.notify_all();
    return style == MessageStyle::YesNo ? questionAnswer : MessageButton::Ok;
  }
  void PostNotify(UiNotify code, int argument) override {
    std::lock_guard lock(mutex_);
    notifications_.emplace_back(code, argument);
    changed_.notify_all();
  }
  void SendStatus(LinkStatus status) override {
    std::lock_guard lock(mutex_);
    statuses_.push_back(status);
    changed_.notify_all();
  }
  std::optional<std::uint32_t> ChooseConsole(const std::vector<std::uint32_t>& consoles) override {
    std::lock_guard lock(mutex_);
    choices_.push_back(consoles);
    return consoles.empty() ? std::nullopt : std::optional(consoles.back());
  }
  void SetProgressMaximum(int) override {}
  void SetProgressFormat(const std::string& format) override {
    std::lock_guard lock(mutex_);
    progressFormats_.push_back(format);
  }
  void SetProgressPosition(int) override {}
  void ShowProgress() override {}
  void HideProgress() override {}

  /// Waits until `ready` holds for the recorded state, or the time is up.
  template <typename Predicate>
  bool WaitFor(Predicate ready, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return ready(*this); });
  }

  // Readers for WaitFor predicates (called with the lock held) and for tests.
  [[nodiscard]] int CountStatus(LinkStatus status) const {
    return static_cast<int>(std::count(statuses_.begin(), statuses_.end(), status));
  }
  [[nodiscard]] bool Notified(UiNotify code, int argument) const {
    return std::find(notifications_.begin(), notifications_.end(), std::pair(code, argument)) != notifications_.end();
  }
  [[nodiscard]] bool Said(std::string_view text) const {
    return std::any_of(messages_.begin(), messages_.end(), [&](const Message& m) { return m.text == text; });
  }
  [[nodiscard]] std::size_t MessageCount() const { return messages_.size(); }

  [[nodiscard]] std::vector<Message> Messages() {
    std::lock_guard lock(mutex_);
    return messages_;
  }
  [[nodiscard]] std::vector<LinkStatus> Statuses() {
    std::lock_guard lock(mutex_);
    return statuses_;
  }
  [[nodiscard]] std::vector<std::string> ProgressFormats() {
    std::lock_guard lock(mutex_);
    return progressFormats_;
  }

  MessageButton questionAnswer = MessageButton::No;

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Message> messages_;
  std::vector<std::pair<UiNotify, int>> notifications_;
  std::vector<LinkStatus> statuses_;
  std::vector<std::vector<std::uint32_t>> choices_;
  std::vector<std::string> progressFormats_;
};

}  // namespace rmt4::test
