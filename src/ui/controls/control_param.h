#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <string>

#include "protocol/param_table.h"

class QWidget;

namespace rmt4::ui {

/// The catalogue or bit name a control stands for now ("ch3.fader",
/// "sys.pfl.aux2"); empty while it stands for none.
using ParamNameSource = std::function<std::string()>;

/// What a value control edits, for whoever asks about the control: its name
/// in the interface language and its value in the words rmt4ctl prints, both
/// read when asked, so a strip following another bus or an editor showing
/// another channel is followed. Hovering the control shows both as a tip; a
/// listening screen reader is told whenever the value the control shows changes.
/// Owned by the control.
class ControlParam final : public QObject {
  Q_OBJECT

 public:
  /// The binding of `control`, null for a control not bound.
  [[nodiscard]] static const ControlParam* Of(const QWidget& control);

  /// The catalogue or bit name the control stands for now.
  [[nodiscard]] std::string ParamName() const { return paramName_(); }
  /// "CH3 fader" in the interface language; empty while the control stands for no parameter.
  [[nodiscard]] QString Name() const;
  /// "-6.0 dB", "ON"…; empty while the control stands for no parameter.
  [[nodiscard]] QString Value() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend void DescribeControl(QWidget& control, const ParamTable& params, ParamNameSource paramName);
  ControlParam(QWidget& control, const ParamTable& params, ParamNameSource paramName);

  /// Tells the screen reader of a new name or value since the last time it was told.
  void AnnounceChanges();

  QWidget& control_;
  const ParamTable& params_;
  ParamNameSource paramName_;
  QString announcedName_;
  QString announcedValue_;
};

/// Binds `control` to the parameter `paramName` returns (see ControlParam).
void DescribeControl(QWidget& control, const ParamTable& params, ParamNameSource paramName);

}  // namespace rmt4::ui
