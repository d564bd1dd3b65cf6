// The serial device and port over pseudo-terminals: line settings, both
// directions, the far end going away, and closing.
#include <asm/termbits.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "network_test_support.h"
#include "serial_pty_pair.h"
#include "transport/serial_device.h"
#include "transport/serial_port.h"

namespace rmt4 {
namespace {

using namespace std::chrono_literals;
using test::Eventually;
using test::PtyPair;

termios2 LineOf(int fd) {
  termios2 line{};
  EXPECT_EQ(::ioctl(fd, TCGETS2, &line), 0);
  return line;
}

/// What a port's reader delivered and whether it saw the device go.
struct Received {
  void Add(std::span<const std::uint8_t> block) {
    std::lock_guard lock(mutex);
    largestBlock = std::max(largestBlock, block.size());
    bytes.insert(bytes.end(), block.begin(), block.end());
  }
  std::size_t Size() {
    std::lock_guard lock(mutex);
    return bytes.size();
  }
  std::mutex mutex;
  std::vector<std::uint8_t> bytes;
  std::size_t largestBlock = 0;
  std::atomic<int> removals{0};
};

struct PortRig {
  PortRig()
      : port([this](std::span<const std::uint8_t> block) { received.Add(block); },
             [this] { received.removals.fetch_add(1); }) {}
  PtyPair pty;
  Received received;
  SerialPort port;
};

TEST(SerialDevice, SetsTheConsoleLineAndPutsTheOldOneBack) {
  PtyPair pty;
  ASSERT_TRUE(pty.ok());
  termios2 before{};
  {
    UniqueFd look(::open(pty.devicePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    ASSERT_TRUE(look.Valid());
    before = LineOf(look.Get());
    // A line as another program might have left it: cooked, flow control, parity.
    termios2 other = before;
    other.c_cflag |= CRTSCTS | PARENB | CSTOPB;
    other.c_iflag |= IXON | IXOFF | ICRNL;
    other.c_lflag |= ICANON | ECHO;
    ASSERT_EQ(::ioctl(look.Get(), TCSETS2, &other), 0);
    before = LineOf(look.Get());
  }

  OsResult error(-1);
  {
    const auto device = SerialDevice::Open(pty.devicePath(), 128000, error);
    ASSERT_NE(device, nullptr) << error.Text();
    EXPECT_TRUE(error.ok());
    const termios2 line = LineOf(device->Fd());
    EXPECT_EQ(line.c_cflag & CBAUD, static_cast<tcflag_t>(BOTHER));
    EXPECT_EQ(line.c_ospeed, 128000u);
    EXPECT_EQ(device->LineSpeed(), 128000);
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF | ICRNL), 0u);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG), 0u);

    // Held exclusively, as a port that is in use (root may open it regardless).
    if (::geteuid() != 0) {
      OsResult second;
      EXPECT_EQ(SerialDevice::Open(pty.devicePath(), 128000, second), nullptr);
      EXPECT_EQ(second.error(), EBUSY);
    }
  }

  UniqueFd look(::open(pty.devicePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  ASSERT_TRUE(look.Valid()) << "the exclusive hold ends with the port";
  const termios2 after = LineOf(look.Get());
  EXPECT_EQ(after.c_cflag, before.c_cflag);
  EXPECT_EQ(after.c_iflag, before.c_iflag);
  EXPECT_EQ(after.c_lflag, before.c_lflag);
  EXPECT_EQ(after.c_ospeed, before.c_ospeed);
}

TEST(SerialDevice, WhatIsNoTerminalOrNotThereIsNotOpened) {
  OsResult error;
  EXPECT_EQ(SerialDevice::Open("/dev/null", 128000, error), nullptr);
  EXPECT_EQ(error.error(), ENOTTY);
  EXPECT_EQ(SerialDevice::Open("/nonexistent/ttyUSB0", 128000, error), nullptr);
  EXPECT_EQ(error, OsResult(ENOENT));
  EXPECT_EQ(error.Text(), "No such file or directory");
}

TEST(SerialPort, CarriesBytesBothWaysInBoundedBlocks) {
  PortRig rig;
  ASSERT_TRUE(rig.pty.ok());
  ASSERT_TRUE(rig.port.Open(rig.pty.devicePath(), 128000).ok());
  EXPECT_TRUE(rig.port.IsOpen());
  EXPECT_TRUE(rig.port.ReaderRunning());

  // Every byte value passes untouched: no newline, flow-control or signal characters are interpreted.
  std::vector<std::uint8_t> all(256);
  for (int i = 0; i < 256; ++i) all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
  ASSERT_TRUE(rig.port.Write(all));
  EXPECT_EQ(rig.pty.Receive(all.size(), 2000ms), all);

  std::vector<std::uint8_t> burst;
  for (int round = 0; round < 40; ++round) burst.insert(burst.end(), all.begin(), all.end());
  ASSERT_TRUE(rig.pty.Send(burst));
  ASSERT_TRUE(Eventually([&] { return rig.received.Size() == burst.size(); }));
  std::lock_guard lock(rig.received.mutex);
  EXPECT_EQ(rig.received.bytes, burst);
  EXPECT_LE(rig.received.largestBlock, 4096u);
}

TEST(SerialPort, FarEndGoingAwayEndsTheReaderAndDropsLaterFrames) {
  PortRig rig;
  ASSERT_TRUE(rig.pty.ok());
  ASSERT_TRUE(rig.port.Open(rig.pty.devicePath(), 128000).ok());
  rig.pty.Hangup();
  ASSERT_TRUE(Eventually([&] { return !rig.port.ReaderRunning(); }));
  EXPECT_EQ(rig.received.removals.load(), 1);
  EXPECT_FALSE(rig.port.IsOpen());
  EXPECT_FALSE(rig.port.Write(std::vector<std::uint8_t>{1, 2, 3}));
  rig.port.Close();
  EXPECT_EQ(rig.received.removals.load(), 1) << "closing by the program is no removal";
}

TEST(SerialPort, ClosingIsPromptAndTheDeviceCanBeOpenedAgain) {
  PortRig rig;
  ASSERT_TRUE(rig.pty.ok());
  for (int round = 0; round < 3; ++round) {
    ASSERT_TRUE(rig.port.Open(rig.pty.devicePath(), 9600).ok()) << "round " << round;
    const auto start = std::chrono::steady_clock::now();
    rig.port.Close();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 100ms);
    EXPECT_FALSE(rig.port.IsOpen());
    EXPECT_FALSE(rig.port.ReaderRunning());
  }
  EXPECT_FALSE(rig.port.Write(std::vector<std::uint8_t>{1}));
  EXPECT_EQ(rig.received.removals.load(), 0);
  EXPECT_EQ(rig.port.Open("/nonexistent/ttyUSB0", 128000).error(), ENOENT);
  EXPECT_FALSE(rig.port.IsOpen());
}

}  // namespace
}  // namespace rmt4
