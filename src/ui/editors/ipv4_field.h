#pragma once

#include <QWidget>

#include <array>
#include <cstdint>

class QLineEdit;

namespace rmt4::ui {

/// An IPv4 address field: four octet boxes (0..255) between dots, the first
/// octet leftmost. An empty box reads as 0.
class Ipv4Field final : public QWidget {
 public:
  explicit Ipv4Field(QWidget* parent);

  /// First octet in the high byte.
  [[nodiscard]] std::uint32_t Address() const;
  void SetAddress(std::uint32_t address);
  [[nodiscard]] QLineEdit& octet(int index) { return *octets_[static_cast<std::size_t>(index)]; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::array<QLineEdit*, 4> octets_{};
  std::array<QWidget*, 3> dots_{};
};

}  // namespace rmt4::ui
