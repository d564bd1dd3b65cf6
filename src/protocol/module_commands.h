#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/message_presenter.h"

namespace rmt4 {

/// The network module's text commands ("Get_IP:", "Set_Confi:", ...), one
/// slot each. Written by the user thread (SetModuleCommand), the transport
/// readers and the discovery thread (ParseModuleText); read by the link
/// worker and the discovery thread.
class ModuleCommandTable {
 public:
  static constexpr int kSlots = 20;
  /// Slots searched for pending commands: 0..18.
  static constexpr int kLastSendableSlot = 18;
  static constexpr int kGetIp = 0;
  static constexpr int kGetLinkIp = 1;
  static constexpr int kGetConfig = 9;
  static constexpr int kSetConfig = 18;

  /// Clears every slot and the list of discovered consoles.
  void Clear();

  /// Replaces the slot's text and marks it pending.
  void SetModuleCommand(int slot, std::string_view text);

  /// Applies one text answer of the module (a ModuleText payload or a UDP datagram).
  void ParseModuleText(std::string_view text);

  /// The first pending slot in from..18, if any.
  [[nodiscard]] std::optional<int> FindPending(int from) const;
  /// Link path: counts a send of the slot. Returns false when the command is
  /// given up instead (retries and pending cleared, nothing to send).
  bool CountLinkSend(int slot);

  /// While pending: the command to send. After a reply: the reply text of the
  /// text slots (5..9), the text after the name for the Set commands (11..18).
  [[nodiscard]] std::string Text(int slot) const;
  [[nodiscard]] bool Done(int slot) const;
  void ClearDone(int slot);
  [[nodiscard]] bool Pending(int slot) const;
  [[nodiscard]] std::uint32_t Number(int slot) const;

  /// Module addresses that answered "Get_IP:", distinct, in order of first reply.
  [[nodiscard]] std::vector<std::uint32_t> DiscoveredConsoles() const;
  void ClearDiscoveredConsoles();

  /// Shows the confirmation boxes (caption "WiFi") of completed Set commands.
  void ShowModuleConfirmations(MessagePresenter& presenter);

 private:
  struct Slot {
    std::atomic<bool> done{false};
    std::atomic<std::int8_t> pending{0};
    std::atomic<std::uint32_t> number{0};
    std::atomic<std::int8_t> retries{0};
    std::string text;  // guarded by textMutex_
  };

  [[nodiscard]] static bool ValidSlot(int slot) { return slot >= 0 && slot < kSlots; }

  std::array<Slot, kSlots> slots_{};
  mutable std::mutex textMutex_;
  mutable std::mutex discoveredMutex_;
  std::vector<std::uint32_t> discovered_;
};

}  // namespace rmt4
