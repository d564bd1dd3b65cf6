#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "protocol/address_map.h"

namespace rmt4 {

/// Who made a change.
enum class ChangeSource : std::uint8_t { kPc, kConsole, kUndo, kRedo };

/// "pc", "console", "undo", "redo": the word the change log writes.
[[nodiscard]] std::string_view ChangeSourceName(ChangeSource source);

/// One word of the console as a step left it.
struct ParamChange {
  ParamAddress address = 0;
  std::uint16_t before = 0;
  std::uint16_t after = 0;
};

/// One step as the change log keeps it: made at `unixMs` (wall clock,
/// milliseconds since 1970) by `source`. `step` numbers the undo step a PC,
/// undo or redo record belongs to in this run of the program (0 for a
/// console change, which no undo takes back).
struct ChangeRecord {
  std::int64_t unixMs = 0;
  ChangeSource source = ChangeSource::kPc;
  std::uint64_t step = 0;
  std::vector<ParamChange> changes;
};

/// Where finished steps go (the change log). Called on the editing thread;
/// an implementation must not block it.
class ChangeSink {
 public:
  virtual ~ChangeSink() = default;
  virtual void Record(const ChangeRecord& record) = 0;
};

}  // namespace rmt4
