#pragma once

#include "ui/main/strip_base.h"

namespace rmt4::ui {

/// One input channel strip (CH1..CH8, ST9/10, DIGTAL, Fx1, Fx2 by its index):
/// name, ENTER, MUTE, PFL, 48V, L/R routing, pan and fader. Switching phantom
/// power on asks the user first.
class InputStrip : public StripBase {
  Q_OBJECT

 public:
  explicit InputStrip(QWidget* parent);

  /// MUTE 1 when pressed; PFL 1300 when pressed; 48V 1 when pressed;
  /// L/R 1300 when pressed; pan 0..200; fader its level.
  [[nodiscard]] int ReadControl(StripCode code) const override;

 protected:
  [[nodiscard]] bool OnOwnButtonClicked(int buttonIndex) override;
  [[nodiscard]] QString NameText() const override;

 private:
  /// The 48V button was just switched on: keeps it on and reports it only
  /// when the user confirms.
  void ConfirmPhantomPower();
};

}  // namespace rmt4::ui
