#include "protocol/frame_parser.h"

namespace rmt4 {

void FrameParser::Parse(std::span<const std::uint8_t> bytes) {
  buffer_.Feed(bytes, [this](const FrameView& frame) {
    if (trace_ != nullptr) trace_->Frame(TraceDirection::In, CheckedFrameBytes(frame));
    state_.health.missCount.store(0);
    state_.health.lastReplyTick.store(state_.clock.NowMs());
    Dispatch(frame);
  });
}

void FrameParser::Dispatch(const FrameView& frame) {
  switch (static_cast<Command>(frame.command)) {
    case Command::DeviceQuery:
      OnDeviceQuery(frame.payload);
      break;
    case Command::WriteParams:
      OnWriteAcknowledged(frame.payload);
      break;
    case Command::ReadModeName:
      OnModeName(frame.payload);
      break;
    case Command::ReadParams:
      OnValues(frame.payload);
      break;
    case Command::ModuleText:
      if (moduleText_) {
        moduleText_(std::string_view(reinterpret_cast<const char*>(frame.payload.data()), frame.payload.size()));
      }
      break;
    case Command::RecallMode:
    case Command::StoreModeName:
    case Command::StoreMode:
    case Command::RecallFxPreset1:
    case Command::StoreFxPreset1:
    case Command::RecallFxPreset2:
    case Command::StoreFxPreset2:
      state_.replySeen.Set(static_cast<Command>(frame.command));
      break;
    default:
      return;  // unknown codes still count as a sign of life, but wake nobody
  }
  state_.reply.ReleaseIfAwaiting();
}

void FrameParser::OnDeviceQuery(std::span<const std::uint8_t> payload) {
  if (payload.empty()) return;
  DeviceInfo& device = state_.device;
  if (payload[0] == 1 || payload[0] == 2) {
    // Mode form: count, then the lock mask lowest byte first.
    if (payload.size() >= 2) device.modeCount.store(payload[1]);
    if (payload.size() >= 6) {
      device.modeLockMask.store(static_cast<std::uint32_t>(payload[2]) | static_cast<std::uint32_t>(payload[3]) << 8 |
                                static_cast<std::uint32_t>(payload[4]) << 16 |
                                static_cast<std::uint32_t>(payload[5]) << 24);
    }
  } else if (payload.size() >= 2) {
    device.deviceType.store(ReadWord(payload.data()));
  }
}

void FrameParser::OnWriteAcknowledged(std::span<const std::uint8_t> payload) {
  ForEachParamEntry(payload, [this](ParamEntryData entry) {
    if (!IsValidAddress(entry.address)) return;
    ParamEntry& param = state_.params[entry.address];
    // An echo of an older value, or of one edited again since, leaves the
    // entry dirty: the newer local value goes out again.
    if (param.Acknowledge(entry.value)) param.retryCount.store(0);
  });
}

void FrameParser::OnModeName(std::span<const std::uint8_t> payload) {
  if (payload.empty()) return;
  const std::uint8_t mode = payload[0];
  state_.modeNames.Store(mode, DecodeModeName(payload.subspan(1)));
  if (mode == 0) return;
  ParamEntry& operation = state_.params[address::kModeOperation];
  operation.Store(mode);
  operation.received.store(true);
  operation.ClearDirty();
}

void FrameParser::OnValues(std::span<const std::uint8_t> payload) {
  ForEachParamEntry(payload, [this](ParamEntryData entry) {
    if (!IsValidAddress(entry.address)) return;
    ParamEntry& param = state_.params[entry.address];
    param.Store(entry.value);
    param.received.store(true);
    param.rereadRequested.store(false);
    if (entry.address == address::kCurrentMode && entry.value <= state_.device.modeCount.load()) {
      const std::uint32_t mask = state_.device.modeLockMask.load();
      state_.device.currentModeLocked.store(((mask >> (entry.value % 32)) & 1u) != 0);
    }
  });
}

}  // namespace rmt4
