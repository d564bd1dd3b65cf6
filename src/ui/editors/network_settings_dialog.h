#pragma once

#include <QDialog>
#include <QTimer>

#include <functional>
#include <vector>

#include "platform/ipv4_address.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace rmt4 {
class ModuleCommandTable;
}

namespace rmt4::ui {

class Ipv4Field;

/// "NET_Confi": reads and sets the network module's address, subnet mask,
/// gateway and MAC. It leaves "Get_Confi:" and "Set_Confi:" in the module
/// command table for the link to send and polls the table for the answers.
/// A configuration that would cut the console off the network is refused
/// with the reason before anything is sent; one the PC itself would not
/// reach is sent only when the user says so.
class NetworkSettingsDialog final : public QDialog {
 public:
  static constexpr int kPollMs = 500;
  using SubnetQuery = std::function<std::vector<Ipv4Subnet>()>;

  /// `pcSubnets` tells the networks this PC is on, asked at each Set.
  NetworkSettingsDialog(ModuleCommandTable& modules, SubnetQuery pcSubnets, QWidget* parent);

  [[nodiscard]] Ipv4Field& addressField() { return *address_; }
  [[nodiscard]] Ipv4Field& maskField() { return *mask_; }
  [[nodiscard]] Ipv4Field& gatewayField() { return *gateway_; }
  [[nodiscard]] QLineEdit& macField() { return *mac_; }
  [[nodiscard]] QPushButton& readButton() { return *read_; }
  [[nodiscard]] QPushButton& setButton() { return *set_; }
  [[nodiscard]] QLabel& maskLabel() { return *maskLabel_; }
  [[nodiscard]] QLabel& gatewayLabel() { return *gatewayLabel_; }
  [[nodiscard]] bool polling() const { return timer_.isActive(); }

  /// Clears the fields and asks the module for its configuration.
  void Read();
  /// Checks the fields and, when they are usable, asks the module to take them.
  void Set();
  /// What the 500 ms timer does: takes the module's answers. A field the
  /// user has typed into since the last Read keeps what was typed.
  void PollReplies();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void RefreshTexts();
  void ShowVerdict();
  void TakeConfiguration();

  ModuleCommandTable& modules_;
  SubnetQuery pcSubnets_;
  Ipv4Field* address_;
  Ipv4Field* mask_;
  Ipv4Field* gateway_;
  QLineEdit* mac_;
  QLabel* maskLabel_;
  QLabel* gatewayLabel_;
  QPushButton* read_;
  QPushButton* set_;
  QTimer timer_;
  bool macEdited_ = false;
};

}  // namespace rmt4::ui
