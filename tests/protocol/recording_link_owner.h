#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "protocol/link_owner.h"

namespace rmt4::test {

/// A LinkOwner that records what the link layer tells it, answers message
/// boxes and the console chooser as configured, and lets a test wait for a
/// record from another thread. Safe to call from any thread.
class RecordingLinkOwner : public LinkOwner {
 public:
  struct Notification {
    UiNotify code;
    int argument;
  };
  struct Message {
    MessageStyle style;
    std::string text;
    std::string caption;
  };
  using Chooser = std::function<std::optional<std::uint32_t>(const std::vector<std::uint32_t>&)>;

  /// The button every message box returns.
  void AnswerMessagesWith(MessageButton button) {
    std::lock_guard lock(mutex_);
    messageAnswer_ = button;
  }
  /// How the console chooser answers; by default it picks nothing.
  void ChooseWith(Chooser chooser) {
    std::lock_guard lock(mutex_);
    chooser_ = std::move(chooser);
  }

  /// Runs inside SendStatus on the caller's thread, after recording, like a
  /// window that takes its time to show the status.
  void OnStatus(std::function<void(LinkStatus)> hook) {
    std::lock_guard lock(mutex_);
    statusHook_ = std::move(hook);
  }

  void PostNotify(UiNotify code, int argument) override {
    Record([&] { notifications_.push_back({code, argument}); });
  }
  void SendStatus(LinkStatus status) override {
    std::function<void(LinkStatus)> hook;
    Record([&] {
      statuses_.push_back(status);
      hook = statusHook_;
    });
    if (hook) hook(status);
  }
  std::optional<std::uint32_t> ChooseConsole(const std::vector<std::uint32_t>& consoles) override {
    Chooser chooser;
    Record([&] {
      choices_.push_back(consoles);
      chooser = chooser_;
    });
    return chooser ? chooser(consoles) : std::nullopt;
  }
  MessageButton ShowMessage(MessageStyle style, std::string_view text, std::string_view caption) override {
    MessageButton answer{};
    Record([&] {
      messages_.push_back({style, std::string(text), std::string(caption)});
      answer = messageAnswer_;
    });
    return answer;
  }

  void SetProgressMaximum(int maximum) override { RecordProgress("maximum " + std::to_string(maximum)); }
  void SetProgressFormat(const std::string& format) override { RecordProgress("format " + format); }
  void SetProgressPosition(int position) override { RecordProgress("position " + std::to_string(position)); }
  void ShowProgress() override { RecordProgress("show"); }
  void HideProgress() override { RecordProgress("hide"); }
  void ShowSearchTarget(const std::string& target) override {
    Record([&] { searchTargets_.push_back(target); });
  }

  [[nodiscard]] std::vector<Notification> Notifications() const { return Copy(notifications_); }
  [[nodiscard]] std::vector<LinkStatus> Statuses() const { return Copy(statuses_); }
  [[nodiscard]] std::vector<Message> Messages() const { return Copy(messages_); }
  [[nodiscard]] std::vector<std::vector<std::uint32_t>> Choices() const { return Copy(choices_); }
  /// Progress window calls as short texts ("show", "maximum 1574", ...).
  [[nodiscard]] std::vector<std::string> ProgressCalls() const { return Copy(progress_); }
  [[nodiscard]] std::vector<std::string> SearchTargets() const { return Copy(searchTargets_); }

  /// Waits until `condition` (called under the recorder's lock with *this) holds.
  template <typename Condition>
  bool WaitUntil(Condition condition, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return condition(*this); });
  }
  /// Unlocked views for WaitUntil conditions.
  [[nodiscard]] std::size_t MessageCountLocked() const { return messages_.size(); }
  [[nodiscard]] std::size_t ChoiceCountLocked() const { return choices_.size(); }
  [[nodiscard]] std::size_t StatusCountLocked() const { return statuses_.size(); }
  [[nodiscard]] std::size_t StatusCountLocked(LinkStatus status) const {
    return static_cast<std::size_t>(std::count(statuses_.begin(), statuses_.end(), status));
  }
  [[nodiscard]] bool NotifiedLocked(UiNotify code, int argument) const {
    return std::any_of(notifications_.begin(), notifications_.end(),
                       [&](const Notification& n) { return n.code == code && n.argument == argument; });
  }
  [[nodiscard]] bool SaidLocked(std::string_view text) const {
    return std::any_of(messages_.begin(), messages_.end(), [&](const Message& m) { return m.text == text; });
  }

 private:
  template <typename Change>
  void Record(Change change) {
    {
      std::lock_guard lock(mutex_);
      change();
    }
    changed_.notify_all();
  }
  void RecordProgress(std::string call) {
    Record([&] { progress_.push_back(std::move(call)); });
  }
  template <typename T>
  T Copy(const T& records) const {
    std::lock_guard lock(mutex_);
    return records;
  }

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  MessageButton messageAnswer_ = MessageButton::Ok;
  Chooser chooser_;
  std::function<void(LinkStatus)> statusHook_;
  std::vector<Notification> notifications_;
  std::vector<LinkStatus> statuses_;
  std::vector<Message> messages_;
  std::vector<std::vector<std::uint32_t>> choices_;
  std::vector<std::string> progress_;
  std::vector<std::string> searchTargets_;
};

}  // namespace rmt4::test
