#include "protocol/batch_builder.h"

#include <cstdint>
#include <vector>

#include "protocol/link_frame.h"

namespace rmt4 {
namespace {

// A dirty mode operation word with this high byte asks for a mode name: it is
// never written, the name is requested instead.
constexpr std::uint16_t kReadNameOperation = 5;
constexpr int kRereadLimit = 24;
constexpr std::size_t kReadPayloadLimit = 2 * kMaxReadAddresses;

ParamAddress Next(ParamAddress address) {
  return static_cast<ParamAddress>(address + 1 == kParamCount ? 0 : address + 1);
}

}  // namespace

void BatchBuilder::BuildWriteBatch(BatchStart start, int maxEntries) {
  if (start) writeCursor_ = *start;
  std::vector<std::uint8_t> payload;
  payload.reserve(4 * kMaxWriteEntries);
  int remaining = maxEntries;

  for (std::size_t visited = 0; visited < kParamCount && remaining > 0; ++visited) {
    const ParamAddress a = writeCursor_;
    ParamEntry& entry = table_[a];
    const std::uint32_t snapshot = entry.Snapshot();
    if (ParamEntry::DirtyIn(snapshot)) {
      const std::uint16_t value = ParamEntry::ValueOf(snapshot);
      if (a == address::kModeOperation && (value >> 8) == kReadNameOperation) {
        // Stays dirty: the name reply clears it, so the request repeats until
        // then. It counts as a send, so a name that never comes (a mode the
        // console does not have) is given up instead of holding back every
        // other write for ever.
        const std::uint8_t mode = static_cast<std::uint8_t>(value & 0xFF);
        // Not an edit of the user's: nothing to report when it is given up.
        if (!table_.CountSend(a)) entry.ClearDirtyIfUnchanged(snapshot);
        sender_.SendFrame(Command::ReadModeName, std::span<const std::uint8_t>(&mode, 1));
        return;
      }
      AppendWord(payload, a);
      AppendWord(payload, value);
      if (!table_.CountSend(a)) GiveUp(a, snapshot);  // after 11 sends
      --remaining;
    }
    writeCursor_ = Next(a);
  }
  sender_.SendFrame(Command::WriteParams, payload);
}

void BatchBuilder::GiveUp(ParamAddress address, std::uint32_t snapshot) {
  if (table_[address].ClearDirtyIfUnchanged(snapshot) && onGivenUp_) onGivenUp_(address);
}

void BatchBuilder::BuildMissingReadBatch(BatchStart start, int maxEntries) {
  BuildReadBatch(readCursor_, start, maxEntries, ReadSelection::NotReceived);
}

void BatchBuilder::BuildRereadBatch(BatchStart start) {
  BuildReadBatch(rereadCursor_, start, kRereadLimit, ReadSelection::RereadRequested);
}

void BatchBuilder::BuildReadBatch(ParamAddress& cursor, BatchStart start, int maxEntries,
                                  ReadSelection selection) {
  if (maxEntries <= 0) return;
  if (start) cursor = *start;
  std::vector<std::uint8_t> payload;
  payload.reserve(kReadPayloadLimit);
  int remaining = maxEntries;

  for (std::size_t visited = 0; visited < kParamCount; ++visited) {
    const ParamAddress a = cursor;
    const ParamEntry& entry = table_[a];
    const bool wanted = selection == ReadSelection::NotReceived ? !entry.received.load()
                                                                 : entry.rereadRequested.load();
    if (wanted) {
      AppendWord(payload, a);
      --remaining;
      // The last address collected stays under the cursor: it is the first
      // one visited next time.
      if (remaining == 0 || payload.size() >= kReadPayloadLimit) break;
      table_.CountSend(a);
    }
    cursor = Next(a);
  }
  sender_.SendFrame(Command::ReadParams, payload);
}

}  // namespace rmt4
