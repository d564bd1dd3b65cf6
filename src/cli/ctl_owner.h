#pragma once

#include <atomic>
#include <bitset>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "i18n/label_id.h"
#include "protocol/address_map.h"
#include "protocol/link_owner.h"

namespace rmt4::ctl {

/// The link's owner on a terminal: message boxes become lines on standard
/// error, questions take the configured answer, notifications are counted
/// for the commands to wait on.
class CtlOwner : public LinkOwner {
 public:
  CtlOwner(bool answerYes, bool verbose, std::optional<std::uint32_t> preferredConsole)
      : answerYes_(answerYes), verbose_(verbose), preferredConsole_(preferredConsole) {}

  MessageButton ShowMessage(MessageStyle style, std::string_view text, std::string_view caption) override;
  void PostNotify(UiNotify code, int argument) override;
  void SendStatus(LinkStatus status) override;
  std::optional<std::uint32_t> ChooseConsole(const std::vector<std::uint32_t>& consoles) override;
  void SetProgressMaximum(int) override {}
  void SetProgressFormat(const std::string& format) override;
  void SetProgressPosition(int) override {}
  void ShowProgress() override {}
  void HideProgress() override {}
  void ShowSearchTarget(const std::string& target) override;

  /// Called on a link thread for every value that arrived.
  void SetValueListener(std::function<void(ParamAddress)> listener);

  /// Whether one of these texts was shown since `since` (a MessageCount()).
  [[nodiscard]] bool Said(std::initializer_list<LabelId> texts, std::size_t since) const;
  [[nodiscard]] std::size_t MessageCount() const;

  /// Seconds from construction to the first "connected" status.
  [[nodiscard]] std::optional<double> SecondsToConnected() const;
  /// Seconds from construction to the end of the first complete read.
  [[nodiscard]] std::optional<double> SecondsToReadComplete() const;
  /// Addresses the link reported as arrived.
  [[nodiscard]] std::size_t ArrivedCount() const;
  /// The link's latest status.
  [[nodiscard]] LinkStatus Status() const { return status_.load(); }
  /// The PC the console was last reported busy with (IPv4, first octet high).
  [[nodiscard]] std::optional<std::uint32_t> BusyWith() const;

 private:
  struct Shown {
    std::string text;
    std::string caption;
  };

  const bool answerYes_;
  const bool verbose_;
  const std::optional<std::uint32_t> preferredConsole_;
  const std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();

  std::atomic<bool> notAnswering_{false};
  std::atomic<LinkStatus> status_{LinkStatus::Starting};
  mutable std::mutex mutex_;
  std::vector<Shown> shown_;
  std::optional<double> secondsToConnected_;
  std::optional<double> secondsToReadComplete_;
  std::bitset<kParamCount> arrived_;
  std::function<void(ParamAddress)> valueListener_;
  std::optional<std::uint32_t> busyWith_;
};

}  // namespace rmt4::ctl
