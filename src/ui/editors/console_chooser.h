#pragma once

#include <QDialog>

#include <cstdint>
#include <vector>

class QTableWidget;

namespace rmt4::ui {

/// The small dialog that lets the user pick one of several consoles the
/// network search found. Its result is always an address: the one
/// double-clicked, or the last one listed when the dialog ends otherwise
/// (Enter, Esc or its close box).
class ConsoleChooser final : public QDialog {
 public:
  /// `consoles`: IPv4 addresses, first octet in the high byte, in the order found.
  ConsoleChooser(const std::vector<std::uint32_t>& consoles, QWidget* parent);

  [[nodiscard]] std::uint32_t chosenAddress() const { return chosenAddress_; }
  [[nodiscard]] QTableWidget& list() { return *list_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  const std::vector<std::uint32_t> consoles_;
  QTableWidget* list_;
  std::uint32_t chosenAddress_ = 0;
};

}  // namespace rmt4::ui
