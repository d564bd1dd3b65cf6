#include "protocol/wire_trace_line.h"

#include <cstdio>

#include "protocol/command.h"

namespace rmt4 {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void AppendHex(std::string& line, std::uint8_t byte) {
  line.push_back(kHexDigits[byte >> 4]);
  line.push_back(kHexDigits[byte & 0x0F]);
}

/// "SECONDS.MMM " with the seconds right-aligned, so that columns line up in a long trace.
std::string Stamp(std::int64_t elapsedMs) {
  char text[32];
  std::snprintf(text, sizeof text, "%6lld.%03lld ", static_cast<long long>(elapsedMs / 1000),
                static_cast<long long>(elapsedMs % 1000));
  return text;
}

}  // namespace

std::string CommandName(std::uint8_t code) {
  switch (static_cast<Command>(code)) {
    case Command::DeviceQuery: return "DeviceQuery";
    case Command::RecallMode: return "RecallMode";
    case Command::WriteParams: return "WriteParams";
    case Command::ReadModeName: return "ReadModeName";
    case Command::ReadParams: return "ReadParams";
    case Command::StoreModeName: return "StoreModeName";
    case Command::StoreMode: return "StoreMode";
    case Command::ModuleText: return "ModuleText";
    case Command::RecallFxPreset1: return "RecallFxPreset1";
    case Command::StoreFxPreset1: return "StoreFxPreset1";
    case Command::RecallFxPreset2: return "RecallFxPreset2";
    case Command::StoreFxPreset2: return "StoreFxPreset2";
    case Command::DumpAll: return "DumpAll";
  }
  return std::to_string(code);
}

std::string_view StatusName(LinkStatus status) {
  switch (status) {
    case LinkStatus::Connected: return "connected";
    case LinkStatus::Searching: return "searching";
    case LinkStatus::NotAnswering: return "not answering";
    case LinkStatus::Starting: return "starting";
  }
  return "unknown";
}

std::string FrameRecord(std::int64_t elapsedMs, TraceDirection direction, std::span<const std::uint8_t> frame,
                        std::string_view note) {
  std::string line = Stamp(elapsedMs);
  line += direction == TraceDirection::In ? "in  " : "out ";
  line += frame.size() > 2 ? CommandName(frame[2]) : "-";
  for (const std::uint8_t byte : frame) {
    line.push_back(' ');
    AppendHex(line, byte);
  }
  if (!note.empty()) line.append(" (").append(note).append(")");
  line.push_back('\n');
  return line;
}

std::string EventRecord(std::int64_t elapsedMs, std::string_view what, std::string_view detail) {
  std::string line = Stamp(elapsedMs);
  line.append("event ").append(what);
  if (!detail.empty()) line.push_back(' ');
  for (const char c : detail) {
    const auto byte = static_cast<std::uint8_t>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '\\') {
      line.push_back(c);
    } else {
      line.append("\\x");
      AppendHex(line, byte);
    }
  }
  line.push_back('\n');
  return line;
}

}  // namespace rmt4
