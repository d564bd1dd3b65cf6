#pragma once

#include <functional>
#include <optional>

#include "protocol/frame_sender.h"
#include "protocol/param_table.h"

namespace rmt4 {

/// Where a batch starts: at a given address, or at the builder's own cursor.
using BatchStart = std::optional<ParamAddress>;
inline constexpr BatchStart kContinue = std::nullopt;

/// Turns the table's flags into WriteParams and ReadParams requests. Each
/// kind of batch walks the table from its own cursor, wrapping around, so
/// successive calls share out the work fairly. Used by the link worker only.
class BatchBuilder {
 public:
  /// Told about a write given up after its last unanswered send.
  using GivenUpHandler = std::function<void(ParamAddress)>;

  BatchBuilder(ParamTable& table, FrameSender& sender, GivenUpHandler onGivenUp = {})
      : table_(table), sender_(sender), onGivenUp_(std::move(onGivenUp)) {}

  /// Sends one WriteParams frame with up to maxEntries dirty values, or a
  /// ReadModeName request when the mode operation word asks for a name.
  void BuildWriteBatch(BatchStart start, int maxEntries);
  /// Sends one ReadParams frame for addresses not yet received (at most 25).
  void BuildMissingReadBatch(BatchStart start, int maxEntries);
  /// Sends one ReadParams frame for addresses marked for re-reading (at most 24).
  void BuildRereadBatch(BatchStart start);

  [[nodiscard]] ParamAddress writeCursor() const { return writeCursor_; }
  [[nodiscard]] ParamAddress readCursor() const { return readCursor_; }
  [[nodiscard]] ParamAddress rereadCursor() const { return rereadCursor_; }
  void SetWriteCursor(ParamAddress address) { writeCursor_ = address; }
  void SetReadCursor(ParamAddress address) { readCursor_ = address; }

 private:
  enum class ReadSelection { NotReceived, RereadRequested };
  void BuildReadBatch(ParamAddress& cursor, BatchStart start, int maxEntries, ReadSelection selection);
  void GiveUp(ParamAddress address, std::uint32_t snapshot);

  ParamTable& table_;
  FrameSender& sender_;
  GivenUpHandler onGivenUp_;
  ParamAddress writeCursor_ = 0;
  ParamAddress readCursor_ = 0;
  ParamAddress rereadCursor_ = 0;
};

}  // namespace rmt4
