#pragma once

#include <QWidget>

#include <array>

#include "protocol/param_table.h"
#include "ui/main/strip_mapping.h"

namespace rmt4::ui {

class InputStrip;
class OutputStrip;
class StripBase;

/// The twelve input strips and the output strip of the main window, and the
/// one place where their edits become parameter writes and parameter values
/// become what they show. The strips send ControlEdited to the host; the host
/// handles ENTER (code 0) itself and forwards the rest to ControlEdited.
class StripBank {
 public:
  /// Creates strips 0..11 and the output strip 12 as children of `host`.
  StripBank(QWidget* host, ParamTable& params);

  StripBank(const StripBank&) = delete;
  StripBank& operator=(const StripBank&) = delete;

  /// Places the strips for the host's scale factors `s` (the smaller of the
  /// two) and `sx` (horizontal) and its client width.
  void Layout(double s, double sx, int clientWidth);
  /// Shows the strips (main view) or hides them (an editor is open).
  void SetVisible(bool visible);
  /// Stores what strip `strip` reports for control `code` in the parameters.
  void ControlEdited(int strip, int code);
  /// Shows the table's value of `address` on every strip control that shows it.
  void ValueArrived(ParamAddress address);
  /// Asks every strip to rebuild its texts in the current language.
  void RefreshTexts();
  /// The bus the output strip shows: 0 MAIN, 1..6 AUX1..AUX6.
  [[nodiscard]] int OutputBus() const;

  [[nodiscard]] InputStrip& inputStrip(int i) const;
  [[nodiscard]] OutputStrip& outputStrip() const { return *output_; }

 private:
  [[nodiscard]] StripBase* Strip(int strip) const;
  /// Tells each value control of `strip` which parameter it stands for.
  void DescribeControls(StripBase& strip);
  void Apply(const StripUpdate& update) const;

  ParamTable& params_;
  std::array<InputStrip*, kInputStripCount> inputs_{};
  OutputStrip* output_ = nullptr;
};

}  // namespace rmt4::ui
