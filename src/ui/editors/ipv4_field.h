#pragma once

#include <QWidget>

#include <array>
#include <cstdint>

class QLineEdit;

namespace rmt4::ui {

/// An IPv4 address field: four octet boxes between dots, the first octet
/// leftmost. The boxes take what is typed; whoever reads the field judges it.
class Ipv4Field final : public QWidget {
 public:
  explicit Ipv4Field(QWidget* parent);

  /// The octets as typed, joined by dots ("192.168.1.300" stays so).
  [[nodiscard]] QString Text() const;
  /// Shows `address` (first octet in the high byte); the field counts as not edited.
  void SetAddress(std::uint32_t address);
  /// Whether the user has typed into the field since it was last set.
  [[nodiscard]] bool Edited() const { return edited_; }
  [[nodiscard]] QLineEdit& octet(int index) { return *octets_[static_cast<std::size_t>(index)]; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::array<QLineEdit*, 4> octets_{};
  std::array<QWidget*, 3> dots_{};
  bool edited_ = false;
};

}  // namespace rmt4::ui
