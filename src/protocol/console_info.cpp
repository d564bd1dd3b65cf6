#include "protocol/console_info.h"

#include <algorithm>

namespace rmt4 {

void ModeNameTable::Store(int mode, const ModeName& name) {
  {
    std::lock_guard lock(mutex_);
    modeNameBuffer_ = name;
    if (mode < 1) return;
    names_[static_cast<std::size_t>(Slot(mode))] = name;
  }
  if (mode <= kModeCount) modeNameReceived_[static_cast<std::size_t>(mode)].store(true);
  modeNamesChanged.store(true);
}

ModeName ModeNameTable::Name(int mode) const {
  if (mode < 1) return {};
  std::lock_guard lock(mutex_);
  return names_[static_cast<std::size_t>(Slot(mode))];
}

std::u16string ModeNameTable::Text(int mode) const {
  const ModeName name = Name(mode);
  return std::u16string(name.begin(), std::find(name.begin(), name.end(), u'\0'));
}

ModeName ModeNameTable::Buffer() const {
  std::lock_guard lock(mutex_);
  return modeNameBuffer_;
}

void ModeNameTable::SetBuffer(const ModeName& name) {
  std::lock_guard lock(mutex_);
  modeNameBuffer_ = name;
}

bool ModeNameTable::Received(int mode) const {
  return mode >= 1 && mode <= kModeCount && modeNameReceived_[static_cast<std::size_t>(mode)].load();
}

void ModeNameTable::ClearReceived(int mode) {
  if (mode >= 1 && mode <= kModeCount) modeNameReceived_[static_cast<std::size_t>(mode)].store(false);
}

ModeName DecodeModeName(std::span<const std::uint8_t> nameBytes) {
  ModeName name{};
  const std::size_t count = std::min<std::size_t>(nameBytes.size(), kModeNameChars);
  std::copy_n(nameBytes.begin(), count, name.begin());
  // Character 0 is never trimmed, even when it is filler itself.
  for (std::size_t i = kModeNameChars - 1; i >= 1; --i) {
    if (name[i] > 0x20 && name[i] <= 0x7A) break;
    name[i] = 0;
  }
  return name;
}

}  // namespace rmt4
