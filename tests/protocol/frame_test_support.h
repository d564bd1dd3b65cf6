#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

#include "protocol/frame_sender.h"
#include "protocol/link_frame.h"

namespace rmt4::test {

using Bytes = std::vector<std::uint8_t>;

/// The wire bytes of a frame, built by the code under test's own builder.
inline Bytes Frame(Command command, const Bytes& payload) {
  const auto frame = LinkFrame::Build(command, payload);
  return frame ? Bytes(frame->Bytes().begin(), frame->Bytes().end()) : Bytes{};
}

/// Payload of address/value entries, high bytes first.
inline Bytes Entries(std::initializer_list<ParamEntryData> entries) {
  Bytes payload;
  for (const ParamEntryData& e : entries) {
    AppendWord(payload, e.address);
    AppendWord(payload, e.value);
  }
  return payload;
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

/// Records every frame a builder sends.
class RecordingSender : public FrameSender {
 public:
  struct Sent {
    Command command;
    Bytes payload;
  };
  void SendFrame(Command command, std::span<const std::uint8_t> payload) override {
    sent.push_back({command, Bytes(payload.begin(), payload.end())});
  }
  /// The addresses of a WriteParams (4-byte entries) or ReadParams (2-byte) payload.
  static std::vector<int> Addresses(const Sent& frame) {
    const std::size_t stride = frame.command == Command::WriteParams ? 4 : 2;
    std::vector<int> addresses;
    for (std::size_t at = 0; at + 2 <= frame.payload.size(); at += stride) {
      addresses.push_back(frame.payload[at] << 8 | frame.payload[at + 1]);
    }
    return addresses;
  }
  std::vector<Sent> sent;
};

}  // namespace rmt4::test
