#include "protocol/module_commands.h"

#include <algorithm>

namespace rmt4 {
namespace {

/// Module texts come from the network: anything past one Ethernet payload is ignored.
constexpr std::size_t kMaxTextBytes = 1500;
/// Addresses kept from "Get_IP:" answers; anyone on the network can send them.
constexpr std::size_t kMaxDiscovered = 64;
/// A link-path command is given up when its send count reaches this, so it goes out 9 times.
constexpr int kGiveUpSends = 10;

enum class ReplyKind { Hex, Decimal, WholeText, ConfigText, Completion };

struct ReplyName {
  std::string_view name;
  int slot;
  ReplyKind kind;
  /// Text replies: `number` is the reply length minus this.
  std::size_t lengthOffset = 0;
};

// Searched in this order; the first name found anywhere in the text wins.
constexpr ReplyName kReplyNames[] = {
    {"Get_IP:", 0, ReplyKind::Hex},
    {"Get_LinkIP:", 1, ReplyKind::Hex},
    {"Get_WiFiMode:", 2, ReplyKind::Hex},
    {"Get_TCPPort:", 3, ReplyKind::Decimal},
    {"Get_UDPPort:", 4, ReplyKind::Decimal},
    {"Get_RouteSSID:", 5, ReplyKind::WholeText, 14},
    {"Get_RoutePW:", 6, ReplyKind::WholeText, 12},
    {"Get_HotSSID:", 7, ReplyKind::WholeText, 11},
    {"Get_HotPW:", 8, ReplyKind::WholeText, 10},
    {"Get_Confi:", 9, ReplyKind::ConfigText, 8},
    {"Set_WiFiMode:", 11, ReplyKind::Completion},
    {"Set_RouteSSID:", 12, ReplyKind::Completion},
    {"Set_RoutePW:", 13, ReplyKind::Completion},
    {"Set_HotSSID:", 14, ReplyKind::Completion},
    {"Set_HotPW:", 15, ReplyKind::Completion},
    {"Set_Restore:", 16, ReplyKind::Completion},
    {"Set_Restart:", 17, ReplyKind::Completion},
    {"Set_Confi:", 18, ReplyKind::Completion},
};

/// Numbers and the configuration text need something after the name.
bool NeedsArgument(ReplyKind kind) {
  return kind == ReplyKind::Hex || kind == ReplyKind::Decimal || kind == ReplyKind::ConfigText;
}

/// Hex digits shift in; a space counts as a 0 digit; anything else is skipped.
std::uint32_t ParseHex(std::string_view argument) {
  std::uint32_t result = 0;
  for (const char c : argument) {
    if (c >= '0' && c <= '9') {
      result = (result << 4) + static_cast<std::uint32_t>(c - '0');
    } else if (c >= 'A' && c <= 'F') {
      result = (result << 4) + static_cast<std::uint32_t>(c - 'A' + 10);
    } else if (c >= 'a' && c <= 'f') {
      result = (result << 4) + static_cast<std::uint32_t>(c - 'a' + 10);
    } else if (c == ' ') {
      result <<= 4;
    }
  }
  return result;
}

/// Decimal digits accumulate; anything else is skipped.
std::uint32_t ParseDecimal(std::string_view argument) {
  std::uint32_t result = 0;
  for (const char c : argument) {
    if (c >= '0' && c <= '9') result = result * 10 + static_cast<std::uint32_t>(c - '0');
  }
  return result;
}

/// The received text as far as it is meant: bounded, and ending at the first zero byte.
std::string_view Terminated(std::string_view text) {
  text = text.substr(0, kMaxTextBytes);
  return text.substr(0, text.find('\0'));
}

}  // namespace

void ModuleCommandTable::Clear() {
  {
    std::lock_guard lock(textMutex_);
    for (Slot& slot : slots_) {
      slot.done.store(false);
      slot.pending.store(0);
      slot.number.store(0);
      slot.retries.store(0);
      slot.text.clear();
    }
  }
  ClearDiscoveredConsoles();
}

void ModuleCommandTable::SetModuleCommand(int slot, std::string_view text) {
  if (!ValidSlot(slot)) return;
  {
    std::lock_guard lock(textMutex_);
    slots_[slot].text.assign(text);
  }
  slots_[slot].pending.store(1, std::memory_order_release);
}

void ModuleCommandTable::ParseModuleText(std::string_view received) {
  const std::string_view text = Terminated(received);
  const ReplyName* match = nullptr;
  std::size_t at = std::string_view::npos;
  for (const ReplyName& candidate : kReplyNames) {
    at = text.find(candidate.name);
    if (at != std::string_view::npos) {
      match = &candidate;
      break;
    }
  }
  if (match == nullptr) return;

  const std::size_t argumentStart = at + match->name.size();
  const std::string_view argument = text.substr(argumentStart);
  if (NeedsArgument(match->kind) && argument.empty()) return;

  Slot& slot = slots_[match->slot];
  switch (match->kind) {
    case ReplyKind::Hex: {
      const std::uint32_t number = ParseHex(argument);
      slot.number.store(number);
      if (match->slot == kGetIp && number != 0) {
        std::lock_guard lock(discoveredMutex_);
        if (discovered_.size() < kMaxDiscovered &&
            std::find(discovered_.begin(), discovered_.end(), number) == discovered_.end()) {
          discovered_.push_back(number);
        }
      }
      break;
    }
    case ReplyKind::Decimal:
      slot.number.store(ParseDecimal(argument));
      break;
    case ReplyKind::WholeText: {
      std::lock_guard lock(textMutex_);
      slot.text.assign(text);
      slot.number.store(static_cast<std::uint32_t>(text.size() - match->lengthOffset));
      break;
    }
    case ReplyKind::ConfigText: {
      // The settings dialog reads `number` (two more than the argument) bytes and
      // takes the zeros after the argument as its last separator: keep them.
      std::string config(text.size(), '\0');
      std::copy(argument.begin(), argument.end(), config.begin());
      std::lock_guard lock(textMutex_);
      slot.text = std::move(config);
      slot.number.store(static_cast<std::uint32_t>(text.size() - match->lengthOffset));
      break;
    }
    case ReplyKind::Completion: {
      // The command was sent; what follows the name is the module's verdict
      // ("OK" or "ERROR"), kept for whoever waits on the slot.
      std::lock_guard lock(textMutex_);
      slot.text.assign(argument);
      break;
    }
  }
  slot.retries.store(0);
  slot.pending.store(0);
  slot.done.store(true, std::memory_order_release);
}

std::optional<int> ModuleCommandTable::FindPending(int from) const {
  for (int slot = std::max(from, 0); slot <= kLastSendableSlot; ++slot) {
    if (slots_[slot].pending.load(std::memory_order_acquire) > 0) return slot;
  }
  return std::nullopt;
}

bool ModuleCommandTable::CountLinkSend(int slot) {
  if (!ValidSlot(slot)) return false;
  Slot& entry = slots_[slot];
  const int sends = entry.retries.load() + 1;
  if (sends >= kGiveUpSends) {
    entry.retries.store(0);
    entry.pending.store(0);
    return false;
  }
  entry.retries.store(static_cast<std::int8_t>(sends));
  return true;
}

std::string ModuleCommandTable::Text(int slot) const {
  if (!ValidSlot(slot)) return {};
  std::lock_guard lock(textMutex_);
  return slots_[slot].text;
}

bool ModuleCommandTable::Done(int slot) const {
  return ValidSlot(slot) && slots_[slot].done.load(std::memory_order_acquire);
}

void ModuleCommandTable::ClearDone(int slot) {
  if (ValidSlot(slot)) slots_[slot].done.store(false);
}

bool ModuleCommandTable::Pending(int slot) const {
  return ValidSlot(slot) && slots_[slot].pending.load(std::memory_order_acquire) > 0;
}

std::uint32_t ModuleCommandTable::Number(int slot) const { return ValidSlot(slot) ? slots_[slot].number.load() : 0; }

std::vector<std::uint32_t> ModuleCommandTable::DiscoveredConsoles() const {
  std::lock_guard lock(discoveredMutex_);
  return discovered_;
}

void ModuleCommandTable::ClearDiscoveredConsoles() {
  std::lock_guard lock(discoveredMutex_);
  discovered_.clear();
}

void ModuleCommandTable::ShowModuleConfirmations(MessagePresenter& presenter) {
  struct Confirmation {
    int first;
    int second;
    std::string_view text;
  };
  static constexpr Confirmation kConfirmations[] = {
      {12, 13, "Set RouteS:OK"}, {14, 15, "Set Hot:OK"}, {11, 11, "WiFiMode:OK"},
      {16, 16, "Restore:OK"},    {17, 17, "Restart:OK"},
  };
  for (const Confirmation& confirmation : kConfirmations) {
    Slot& first = slots_[confirmation.first];
    Slot& second = slots_[confirmation.second];
    if (!first.done.load() || !second.done.load()) continue;
    // Claim the pair before the box blocks, so a second caller cannot show it again.
    if (!first.done.exchange(false)) continue;
    second.done.store(false);
    presenter.ShowMessage(MessageStyle::Ok, confirmation.text, "WiFi");
  }
}

}  // namespace rmt4
