#include "transport/serial_port_list.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace rmt4 {
namespace {

namespace fs = std::filesystem;

/// A stand-in for /sys/class/tty with the given entries; those marked with a
/// device get one, as the kernel does for ports with hardware behind them,
/// and registered ones get their device number (`dev`).
class FakeTtyClass {
 public:
  FakeTtyClass() {
    std::string pattern = (fs::temp_directory_path() / "rmt4-tty-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) root_ = pattern;
  }
  ~FakeTtyClass() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  void Add(const std::string& name, bool withDevice, bool registered = false) {
    fs::create_directories(root_ / name);
    if (withDevice) fs::create_directories(root_ / name / "device");
    if (registered) std::ofstream(root_ / name / "dev") << "216:0\n";
  }
  [[nodiscard]] const fs::path& path() const { return root_; }

 private:
  fs::path root_;
};

TEST(SerialPortList, SystemPortsAreSerialDevicesInNaturalOrder) {
  FakeTtyClass tty;
  for (const char* name : {"ttyS10", "ttyUSB0", "ttyS2", "ttyACM1", "ttyS0", "ttyACM0", "ttyUSB10", "ttyUSB9"}) {
    tty.Add(name, true);
  }
  tty.Add("ttyS3", false);     // a port the kernel reserves without hardware behind it
  tty.Add("tty0", true);       // a virtual console
  tty.Add("ttyprintk", true);  // not a serial family
  tty.Add("ttyS", true);       // a family name without a number
  // Bluetooth ports: bound ones are virtual devices, a connected one may have a device link.
  tty.Add("rfcomm10", false, true);
  tty.Add("rfcomm2", false, true);
  tty.Add("rfcomm0", true, true);
  tty.Add("rfcomm5", false);         // no device number: not a registered port
  tty.Add("rfcomm", false, true);    // a family name without a number
  tty.Add("ttyS4", false, true);     // registered, but a ttyS without hardware stays out
  EXPECT_EQ(ListSystemSerialPorts(tty.path()),
            (SerialPortList{"/dev/rfcomm0", "/dev/rfcomm2", "/dev/rfcomm10", "/dev/ttyACM0", "/dev/ttyACM1", "/dev/ttyS0",
                            "/dev/ttyS2", "/dev/ttyS10", "/dev/ttyUSB0", "/dev/ttyUSB9", "/dev/ttyUSB10"}));
}

TEST(SerialPortList, MissingDeviceClassGivesNoPorts) {
  EXPECT_TRUE(ListSystemSerialPorts("/nonexistent/rmt4/tty").empty());
}

TEST(SerialPortList, OverrideKeepsItsOrderWithoutDuplicatesOrEmptyEntries) {
  EXPECT_EQ(ParseSerialPortList("/dev/ttyS3:/dev/ttyS1:/dev/ttyS3"), (SerialPortList{"/dev/ttyS3", "/dev/ttyS1"}));
  EXPECT_EQ(ParseSerialPortList("::/dev/a::/dev/b:"), (SerialPortList{"/dev/a", "/dev/b"}));
  EXPECT_TRUE(ParseSerialPortList("").empty());
}

TEST(SerialPortList, AtMostTheLimitIsKept) {
  SerialPortList many;
  for (std::size_t i = 0; i < kMaxSerialPorts + 20; ++i) many.push_back("/dev/p" + std::to_string(i));
  const SerialPortList kept = WithoutDuplicates(many);
  ASSERT_EQ(kept.size(), kMaxSerialPorts);
  EXPECT_EQ(kept.back(), "/dev/p254");
}

TEST(SerialPortList, SourceListsTheSystemAfreshUnlessOverridden) {
  FakeTtyClass tty;
  const SerialPortSource system = MakeSerialPortSource(std::nullopt, tty.path());
  EXPECT_TRUE(system().empty());
  tty.Add("ttyUSB0", true);  // plugged in after the first round
  EXPECT_EQ(system(), (SerialPortList{"/dev/ttyUSB0"}));

  const SerialPortSource overridden = MakeSerialPortSource("/tmp/a:/tmp/b", tty.path());
  EXPECT_EQ(overridden(), (SerialPortList{"/tmp/a", "/tmp/b"}));
}

TEST(SerialPortList, NamedDeviceIsTheOnlyCandidateWhateverTheEnvironmentSays) {
  ::setenv("RMT4_SERIAL_PORTS", "/dev/a:/dev/b", 1);
  EXPECT_EQ(SerialPortSourceFromEnvironment(std::nullopt)(), (SerialPortList{"/dev/a", "/dev/b"}));
  EXPECT_EQ(SerialPortSourceFromEnvironment("/dev/pts/7")(), (SerialPortList{"/dev/pts/7"}));
  ::unsetenv("RMT4_SERIAL_PORTS");
}

}  // namespace
}  // namespace rmt4
