#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

#include "protocol/address_map.h"
#include "protocol/link_owner.h"

namespace rmt4::faults {

/// A link owner that keeps, per address, only what the fault runs judge:
/// how many values arrived, when an edit was last reported as not
/// confirmed and how often each message was shown. Fixed-size but for one
/// count per distinct message, so a long run cannot grow it. Any thread.
class CountingOwner final : public LinkOwner {
 public:
  /// A point on the owner's own clock: every stamp and every report moves it on.
  [[nodiscard]] std::uint64_t Stamp() {
    std::lock_guard lock(mutex_);
    return ++clock_;
  }
  [[nodiscard]] std::uint64_t Arrivals(ParamAddress address) const {
    std::lock_guard lock(mutex_);
    return arrivals_[address];
  }
  /// The stamp of the last EditNotConfirmed for the address; 0 when none came.
  [[nodiscard]] std::uint64_t LastNotConfirmed(ParamAddress address) const {
    std::lock_guard lock(mutex_);
    return notConfirmedAt_[address];
  }

  /// How often a message box said `text`.
  [[nodiscard]] int Said(std::string_view text) const {
    std::lock_guard lock(mutex_);
    const auto found = said_.find(text);
    return found == said_.end() ? 0 : found->second;
  }

  void PostNotify(UiNotify code, int argument) override {
    if (argument < 0 || argument >= static_cast<int>(kParamCount)) return;
    const auto address = static_cast<std::size_t>(argument);
    std::lock_guard lock(mutex_);
    if (code == UiNotify::ValueArrived) ++arrivals_[address];
    if (code == UiNotify::EditNotConfirmed) notConfirmedAt_[address] = ++clock_;
  }
  void SendStatus(LinkStatus) override {}
  std::optional<std::uint32_t> ChooseConsole(const std::vector<std::uint32_t>& consoles) override {
    if (consoles.empty()) return std::nullopt;
    return consoles.front();
  }
  /// Questions (overwrite a scene file?) are answered yes, so jobs run to their end.
  MessageButton ShowMessage(MessageStyle style, std::string_view text, std::string_view) override {
    {
      std::lock_guard lock(mutex_);
      ++said_[std::string(text)];
    }
    return style == MessageStyle::Ok ? MessageButton::Ok : MessageButton::Yes;
  }
  void SetProgressMaximum(int) override {}
  void SetProgressFormat(const std::string&) override {}
  void SetProgressPosition(int) override {}
  void ShowProgress() override {}
  void HideProgress() override {}

 private:
  mutable std::mutex mutex_;
  std::uint64_t clock_ = 0;
  std::array<std::uint64_t, kParamCount> arrivals_{};
  std::array<std::uint64_t, kParamCount> notConfirmedAt_{};
  std::map<std::string, int, std::less<>> said_;
};

}  // namespace rmt4::faults
