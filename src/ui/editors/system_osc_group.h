#pragma once

#include <QObject>

#include "files/osc_settings.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace rmt4::ui {

class WindowOscHost;

/// The System window's "OSC" group: on/off, the port, the address to bind and
/// who may send. A change applies at once (the server restarts) and is
/// stored; a server that cannot start is reported and shows off.
class SystemOscGroup final : public QObject {
 public:
  SystemOscGroup(QGroupBox& box, WindowOscHost& host, const SettingsStore& settings, QWidget& window);

  void RefreshTexts();

  [[nodiscard]] QCheckBox& onBox() { return *on_; }
  [[nodiscard]] QLineEdit& portField() { return *port_; }
  [[nodiscard]] QLineEdit& bindField() { return *bind_; }
  [[nodiscard]] QLineEdit& allowField() { return *allow_; }

 private:
  [[nodiscard]] StoredOscSettings Typed() const;
  void Show(const StoredOscSettings& settings);
  /// Serves as typed (or stops), tells why not, stores what holds.
  void Apply();
  /// A field's edit finished: applied when it changed what serves.
  void FieldEdited();

  WindowOscHost& host_;
  const SettingsStore& settings_;
  QWidget& window_;
  QCheckBox* on_;
  QLabel* portLabel_;
  QLineEdit* port_;
  QLabel* bindLabel_;
  QLineEdit* bind_;
  QLabel* allowLabel_;
  QLineEdit* allow_;
  /// What the fields held when last applied.
  StoredOscSettings applied_;
};

}  // namespace rmt4::ui
