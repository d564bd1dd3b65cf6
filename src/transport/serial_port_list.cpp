#include "transport/serial_port_list.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <system_error>

namespace rmt4 {
namespace {

/// Device names of real and USB serial ports; virtual consoles (tty0...) are not ports.
constexpr std::array<std::string_view, 3> kSerialFamilies{"ttyS", "ttyUSB", "ttyACM"};
/// Bluetooth serial ports. The kernel lists one only while it is bound, often
/// as a virtual device without a hardware link, so its registered device
/// number (the `dev` attribute) is what shows that it exists.
constexpr std::string_view kBluetoothFamily = "rfcomm";

bool IsInFamily(std::string_view name, std::string_view family) {
  return name.size() > family.size() && name.starts_with(family);
}

bool IsSerialName(std::string_view name) {
  return std::any_of(kSerialFamilies.begin(), kSerialFamilies.end(),
                     [name](std::string_view family) { return IsInFamily(name, family); });
}

/// `entry` is a port of /sys/class/tty that can be opened now.
bool IsPresentPort(const std::filesystem::path& entry) {
  const std::string name = entry.filename().string();
  std::error_code missing;
  if (IsSerialName(name)) return std::filesystem::exists(entry / "device", missing);
  return IsInFamily(name, kBluetoothFamily) && std::filesystem::exists(entry / "dev", missing);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

/// Orders names as people count: runs of digits compare by their value.
bool NaturalLess(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      while (i < a.size() && a[i] == '0') ++i;
      while (j < b.size() && b[j] == '0') ++j;
      std::size_t endA = i;
      std::size_t endB = j;
      while (endA < a.size() && IsDigit(a[endA])) ++endA;
      while (endB < b.size() && IsDigit(b[endB])) ++endB;
      const std::string_view numberA = a.substr(i, endA - i);
      const std::string_view numberB = b.substr(j, endB - j);
      if (numberA.size() != numberB.size()) return numberA.size() < numberB.size();
      if (numberA != numberB) return numberA < numberB;
      i = endA;
      j = endB;
      continue;
    }
    if (a[i] != b[j]) return a[i] < b[j];
    ++i;
    ++j;
  }
  return a.size() - i < b.size() - j;
}

}  // namespace

SerialPortList ListSystemSerialPorts(const std::filesystem::path& ttyClass) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator entry(ttyClass, error), end; !error && entry != end;
       entry.increment(error)) {
    if (IsPresentPort(entry->path())) names.push_back(entry->path().filename().string());
  }
  std::sort(names.begin(), names.end(), NaturalLess);
  SerialPortList ports;
  for (const std::string& name : names) ports.push_back("/dev/" + name);
  return WithoutDuplicates(ports);
}

SerialPortList ParseSerialPortList(std::string_view text) {
  SerialPortList ports;
  while (!text.empty()) {
    const std::size_t colon = text.find(':');
    const std::string_view path = text.substr(0, colon);
    if (!path.empty()) ports.emplace_back(path);
    if (colon == std::string_view::npos) break;
    text.remove_prefix(colon + 1);
  }
  return WithoutDuplicates(ports);
}

SerialPortList WithoutDuplicates(const SerialPortList& ports) {
  SerialPortList unique;
  for (const std::string& port : ports) {
    if (unique.size() == kMaxSerialPorts) break;
    if (std::find(unique.begin(), unique.end(), port) == unique.end()) unique.push_back(port);
  }
  return unique;
}

SerialPortSource MakeSerialPortSource(std::optional<std::string> overrideList, std::filesystem::path ttyClass) {
  if (overrideList) {
    return [ports = ParseSerialPortList(*overrideList)] { return ports; };
  }
  return [ttyClass = std::move(ttyClass)] { return ListSystemSerialPorts(ttyClass); };
}

SerialPortSource SerialPortSourceFromEnvironment(const std::optional<std::string>& onlyDevice) {
  if (onlyDevice) return [device = *onlyDevice] { return SerialPortList{device}; };
  const char* overridden = std::getenv("RMT4_SERIAL_PORTS");
  return MakeSerialPortSource(overridden != nullptr ? std::optional<std::string>(overridden) : std::nullopt);
}

}  // namespace rmt4
