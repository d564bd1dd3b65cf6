#pragma once

#include <array>

#include "ui/main/strip_base.h"

namespace rmt4::ui {

class LevelMeter;

/// The main output strip: seven bus buttons choose MAIN or AUX1..AUX6, and
/// MUTE, PFL, the fader, the balance (MAIN) or the L/R routing (AUX) act on
/// the chosen bus; two meters show the main output level.
class OutputStrip : public StripBase {
  Q_OBJECT

 public:
  explicit OutputStrip(QWidget* parent);

  /// MUTE 1 when released (bus on); PFL 0 when pressed, 1300 when released;
  /// L/R 1300 when pressed; balance 0..200; fader its level.
  [[nodiscard]] int ReadControl(StripCode code) const override;

  /// 0 MAIN, 1..6 AUX1..AUX6.
  [[nodiscard]] int selectedBus() const { return selectedBus_; }

  /// Levels 0..12; higher ones show a full bar.
  void SetMeterLevels(int left, int right);
  [[nodiscard]] LevelMeter& leftMeter() const { return *meters_[0]; }
  [[nodiscard]] LevelMeter& rightMeter() const { return *meters_[1]; }

 protected:
  [[nodiscard]] bool OnOwnButtonClicked(int buttonIndex) override;
  [[nodiscard]] QString NameText() const override;
  [[nodiscard]] QString ButtonCaption(int buttonIndex) const override;

 private:
  /// Shows the controls of bus `bus`, lights its button and names it.
  void ShowBus(int bus);

  int selectedBus_ = 0;
  std::array<LevelMeter*, 2> meters_{};
};

}  // namespace rmt4::ui
