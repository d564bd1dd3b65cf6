#include "emulator/console_responder.h"

namespace rmt4::emulator {
namespace {

// Bytes 2..3 of the device-type reply: identification nobody reads.
constexpr std::uint8_t kFirmwareMajor = 1;
constexpr std::uint8_t kFirmwareMinor = 0;
// First byte of the mode form of the DeviceQuery reply.
constexpr std::uint8_t kModeForm = 1;

std::vector<LinkFrame> One(Command command, std::span<const std::uint8_t> payload) {
  std::vector<LinkFrame> frames;
  if (auto frame = LinkFrame::Build(command, payload)) frames.push_back(*frame);
  return frames;
}

// Acknowledges a request by echoing its payload, when the action succeeded.
std::vector<LinkFrame> AcknowledgeIf(bool done, Command command, std::span<const std::uint8_t> payload) {
  return done ? One(command, payload) : std::vector<LinkFrame>{};
}

int FirstByte(std::span<const std::uint8_t> payload) { return payload.empty() ? 0 : payload[0]; }

}  // namespace

ConsoleResponder::ConsoleResponder(const ConsoleSettings& settings)
    : model_(settings.deviceType, settings.modeLockMask, settings.seed), module_(settings.module) {
  if (!settings.soundingMeters) model_.SilenceMeters();
}

void ConsoleResponder::Load(std::span<const std::uint16_t> values) {
  std::lock_guard lock(mutex_);
  model_.Load(values);
}

std::vector<LinkFrame> ConsoleResponder::Respond(const FrameView& request) {
  const auto payload = request.payload;
  std::lock_guard lock(mutex_);
  switch (static_cast<Command>(request.command)) {
    case Command::DeviceQuery:
      return OnDeviceQuery();
    case Command::RecallMode:
      return AcknowledgeIf(model_.RecallMode(FirstByte(payload)), Command::RecallMode, payload);
    case Command::WriteParams:
      return OnWrite(payload);
    case Command::ReadModeName:
      return OnModeName(payload);
    case Command::ReadParams:
      return OnRead(payload);
    case Command::StoreModeName: {
      std::vector<std::uint8_t> name(payload.begin() + (payload.empty() ? 0 : 1), payload.end());
      return AcknowledgeIf(model_.StoreModeName(FirstByte(payload), std::move(name)), Command::StoreModeName, payload);
    }
    case Command::StoreMode:
      return AcknowledgeIf(model_.StoreCurrentMode(), Command::StoreMode, payload);
    case Command::ModuleText:
      return OnModuleText(payload);
    case Command::RecallFxPreset1:
      return AcknowledgeIf(model_.RecallFxProgram(FxEngine::One, FirstByte(payload)), Command::RecallFxPreset1,
                           payload);
    case Command::StoreFxPreset1:
      return AcknowledgeIf(model_.StoreFxProgram(FxEngine::One, FirstByte(payload)), Command::StoreFxPreset1, payload);
    case Command::RecallFxPreset2:
      return AcknowledgeIf(model_.RecallFxProgram(FxEngine::Two, FirstByte(payload)), Command::RecallFxPreset2,
                           payload);
    case Command::StoreFxPreset2:
      return AcknowledgeIf(model_.StoreFxProgram(FxEngine::Two, FirstByte(payload)), Command::StoreFxPreset2, payload);
    case Command::DumpAll:
      return OnDumpAll();
  }
  return {};  // codes the console does not know go unanswered
}

void ConsoleResponder::LeaveOutOfReads(ParamAddress address) {
  std::lock_guard lock(mutex_);
  leftOut_ = address;
}

LinkFrame ConsoleResponder::ChangeFromConsole(ParamAddress address, std::uint16_t value) {
  std::lock_guard lock(mutex_);
  model_.SetFromConsole(address, value);
  std::vector<std::uint8_t> payload;
  AppendWord(payload, address);
  AppendWord(payload, value);
  return *LinkFrame::Build(Command::ReadParams, payload);
}

std::uint16_t ConsoleResponder::Value(ParamAddress address) const {
  std::lock_guard lock(mutex_);
  return model_.Value(address);
}

std::optional<std::string> ConsoleResponder::ModuleCommand(std::string_view text) {
  std::lock_guard lock(mutex_);
  return module_.Answer(text);
}

void ConsoleResponder::SetLinkedHost(Ipv4 host) {
  std::lock_guard lock(mutex_);
  module_.SetLinkedHost(host);
}

std::vector<LinkFrame> ConsoleResponder::OnDeviceQuery() const {
  // Both forms, mode information first, as the PC reads them into separate fields.
  const std::uint32_t mask = model_.ModeLockMask();
  const std::uint8_t modes[] = {kModeForm,
                                static_cast<std::uint8_t>(kConsoleModeCount),
                                static_cast<std::uint8_t>(mask),
                                static_cast<std::uint8_t>(mask >> 8),
                                static_cast<std::uint8_t>(mask >> 16),
                                static_cast<std::uint8_t>(mask >> 24)};
  const std::uint16_t type = model_.DeviceType();
  const std::uint8_t identity[] = {static_cast<std::uint8_t>(type >> 8), static_cast<std::uint8_t>(type & 0xFF),
                                   kFirmwareMajor, kFirmwareMinor};
  Frames frames = One(Command::DeviceQuery, modes);
  frames.push_back(*LinkFrame::Build(Command::DeviceQuery, identity));
  return frames;
}

std::vector<LinkFrame> ConsoleResponder::OnWrite(std::span<const std::uint8_t> payload) {
  // Echo what was stored; entries for addresses the console does not have are left out.
  std::vector<std::uint8_t> echo;
  ForEachParamEntry(payload, [&](ParamEntryData entry) {
    if (!IsValidAddress(entry.address)) return;
    AppendWord(echo, entry.address);
    AppendWord(echo, model_.Write(entry.address, entry.value));
  });
  return One(Command::WriteParams, echo);
}

std::vector<LinkFrame> ConsoleResponder::OnRead(std::span<const std::uint8_t> payload) {
  std::vector<ParamAddress> addresses;
  for (std::size_t at = 0; at + 2 <= payload.size(); at += 2) {
    const ParamAddress address = ReadWord(&payload[at]);
    if (IsValidAddress(address) && address != leftOut_) addresses.push_back(address);
  }
  if (addresses.empty()) return One(Command::ReadParams, {});
  return ValueFrames(addresses);
}

std::vector<LinkFrame> ConsoleResponder::OnDumpAll() {
  std::vector<ParamAddress> all;
  for (ParamAddress a = 0; a < kParamCount; ++a) {
    if (a != leftOut_) all.push_back(a);
  }
  return ValueFrames(all);
}

std::vector<LinkFrame> ConsoleResponder::OnModeName(std::span<const std::uint8_t> payload) const {
  const int mode = FirstByte(payload);
  if (!ConsoleModel::IsValidMode(mode)) return {};
  std::vector<std::uint8_t> reply{static_cast<std::uint8_t>(mode)};
  const auto& name = model_.ModeName(mode);
  reply.insert(reply.end(), name.begin(), name.end());
  return One(Command::ReadModeName, reply);
}

std::vector<LinkFrame> ConsoleResponder::OnModuleText(std::span<const std::uint8_t> payload) {
  const auto answer = module_.Answer(std::string_view(reinterpret_cast<const char*>(payload.data()), payload.size()));
  if (!answer) return {};
  return One(Command::ModuleText, std::span(reinterpret_cast<const std::uint8_t*>(answer->data()), answer->size()));
}

std::vector<LinkFrame> ConsoleResponder::ValueFrames(const std::vector<ParamAddress>& addresses) {
  Frames frames;
  std::vector<std::uint8_t> payload;
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    AppendWord(payload, addresses[i]);
    AppendWord(payload, ReadValue(addresses[i]));
    if ((i + 1) % kMaxEntriesPerFrame == 0 || i + 1 == addresses.size()) {
      frames.push_back(*LinkFrame::Build(Command::ReadParams, payload));
      payload.clear();
    }
  }
  return frames;
}

std::uint16_t ConsoleResponder::ReadValue(ParamAddress address) {
  return address == address::kLevelMeters ? model_.PollMeters() : model_.Value(address);
}

}  // namespace rmt4::emulator
