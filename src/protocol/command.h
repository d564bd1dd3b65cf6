#pragma once

#include <cstdint>

namespace rmt4 {

/// Command codes of the console protocol. The console answers a request with
/// the same code.
enum class Command : std::uint8_t {
  DeviceQuery = 0,
  RecallMode = 1,
  WriteParams = 3,
  ReadModeName = 4,
  ReadParams = 6,
  StoreModeName = 16,
  StoreMode = 33,
  ModuleText = 87,
  RecallFxPreset1 = 105,
  StoreFxPreset1 = 106,
  RecallFxPreset2 = 109,
  StoreFxPreset2 = 111,
  DumpAll = 240,
};

/// Entry limits of one batch request.
inline constexpr int kMaxWriteEntries = 24;
inline constexpr int kMaxReadAddresses = 25;

}  // namespace rmt4
