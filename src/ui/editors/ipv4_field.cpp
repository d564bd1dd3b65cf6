#include "ui/editors/ipv4_field.h"

#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace rmt4::ui {
namespace {

constexpr int kDotWidth = 6;

}  // namespace

Ipv4Field::Ipv4Field(QWidget* parent) : QWidget(parent) {
  auto* validator = new QIntValidator(0, 255, this);
  for (std::size_t i = 0; i < octets_.size(); ++i) {
    octets_[i] = new QLineEdit(this);
    octets_[i]->setValidator(validator);
    octets_[i]->setMaxLength(3);
    octets_[i]->setAlignment(Qt::AlignCenter);
    octets_[i]->installEventFilter(this);
  }
  for (QWidget*& dot : dots_) {
    auto* label = new QLabel(QStringLiteral("."), this);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    dot = label;
  }
  SetAddress(0);
}

std::uint32_t Ipv4Field::Address() const {
  std::uint32_t address = 0;
  for (const QLineEdit* octet : octets_) address = (address << 8) | (octet->text().toUInt() & 0xFFu);
  return address;
}

void Ipv4Field::SetAddress(std::uint32_t address) {
  for (std::size_t i = 0; i < octets_.size(); ++i) {
    octets_[i]->setText(QString::number((address >> (24 - 8 * i)) & 0xFFu));
  }
}

void Ipv4Field::resizeEvent(QResizeEvent*) {
  const int box = (width() - 3 * kDotWidth) / 4;
  for (std::size_t i = 0; i < octets_.size(); ++i) {
    const int left = static_cast<int>(i) * (box + kDotWidth);
    octets_[i]->setGeometry(left, 0, box, height());
    if (i < dots_.size()) dots_[i]->setGeometry(left + box, 0, kDotWidth, height());
  }
}

bool Ipv4Field::eventFilter(QObject* watched, QEvent* event) {
  // A dot typed in an octet moves on to the next one, as in the address fields users know.
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->text() == QStringLiteral(".")) {
    for (std::size_t i = 0; i + 1 < octets_.size(); ++i) {
      if (watched == octets_[i]) {
        octets_[i + 1]->setFocus();
        octets_[i + 1]->selectAll();
        return true;
      }
    }
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace rmt4::ui
