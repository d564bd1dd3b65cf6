#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rmt4 {

/// The serial devices to try, as device paths, in the order to try them.
using SerialPortList = std::vector<std::string>;
/// Lists the candidate ports afresh; called whenever the list is exhausted,
/// so devices plugged in later are found.
using SerialPortSource = std::function<SerialPortList()>;

/// At most this many ports are tried in one round.
inline constexpr std::size_t kMaxSerialPorts = 255;

/// The system's serial devices (ttyS*, ttyUSB*, ttyACM* that have a device
/// behind them in `ttyClass`, and the bound Bluetooth ports rfcomm*), as /dev
/// paths, with names in natural order (ttyS2 before ttyS10).
[[nodiscard]] SerialPortList ListSystemSerialPorts(const std::filesystem::path& ttyClass = "/sys/class/tty");

/// Colon-separated device paths, as RMT4_SERIAL_PORTS holds them.
[[nodiscard]] SerialPortList ParseSerialPortList(std::string_view text);

/// Keeps the first of each path and at most kMaxSerialPorts of them.
[[nodiscard]] SerialPortList WithoutDuplicates(const SerialPortList& ports);

/// Where the ports come from: the override list when given, else the
/// system's devices, listed anew on every call.
[[nodiscard]] SerialPortSource MakeSerialPortSource(std::optional<std::string> overrideList,
                                                    std::filesystem::path ttyClass = "/sys/class/tty");

/// The port source of the program: `onlyDevice` when given (a command line
/// names it), else RMT4_SERIAL_PORTS when set, else the system's devices.
[[nodiscard]] SerialPortSource SerialPortSourceFromEnvironment(const std::optional<std::string>& onlyDevice);

}  // namespace rmt4
