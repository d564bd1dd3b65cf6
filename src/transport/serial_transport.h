#pragma once

#include <cstddef>
#include <mutex>
#include <string>

#include "protocol/link_transport.h"
#include "transport/serial_port.h"
#include "transport/serial_port_list.h"

namespace rmt4 {

/// Every connection kind other than USB HID and the network: the console on
/// a serial port, found by trying the listed ports one after another.
class SerialTransport final : public LinkTransport {
 public:
  /// The console's line rate when the settings give none.
  static constexpr int kDefaultBaudRate = 128000;

  SerialTransport(LinkContext& context, FrameSender& sender, SerialPortSource ports);
  SerialTransport(const SerialTransport&) = delete;
  SerialTransport& operator=(const SerialTransport&) = delete;
  ~SerialTransport() override;

  void Connect() override { SerialConnect(); }
  [[nodiscard]] bool IsConnected() const override { return port_.IsOpen(); }
  void Send(std::span<const std::uint8_t> frame) override { SerialWrite(frame); }
  void Close() override { SerialClose(); }

  /// Tries the ports in turn and returns once the console answered on one
  /// (linkUp set, the port stays open) or the program is closing.
  void SerialConnect();
  /// Opens `device` as the console's port and starts its reader; true when open.
  bool SerialOpen(const std::string& device);
  /// Writes the frame; dropped when the port is closed.
  void SerialWrite(std::span<const std::uint8_t> frame);
  /// Closes the port and ends its reader; wakes a sender waiting for an answer.
  void SerialClose();

  /// The device the console answered on, empty before; for diagnosis.
  [[nodiscard]] std::string ConnectedDevice() const;
  /// The line rate the driver reports for the open port, 0 when closed.
  [[nodiscard]] int LineSpeed() const { return port_.LineSpeed(); }
  [[nodiscard]] bool ReaderRunning() const { return port_.ReaderRunning(); }

 private:
  /// Reads address 0 over the freshly opened port; true when its value arrived.
  bool ProbeAddressZero();
  /// The port went away under the reader: the link is down.
  void OnPortRemoved();
  [[nodiscard]] int BaudRate() const;

  LinkContext& context_;
  FrameSender& sender_;
  const SerialPortSource listPorts_;
  // Used by the connecting thread only.
  SerialPortList ports_;
  std::size_t cursor_ = 0;
  mutable std::mutex deviceMutex_;
  std::string connectedDevice_;
  SerialPort port_;
};

}  // namespace rmt4
