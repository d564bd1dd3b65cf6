#include "ui/editors/ipv4_field.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace rmt4::ui {
namespace {

constexpr int kDotWidth = 6;
/// Room for any octet; what is typed in it is judged when the field is read.
constexpr int kOctetLength = 3;

}  // namespace

Ipv4Field::Ipv4Field(QWidget* parent) : QWidget(parent) {
  for (std::size_t i = 0; i < octets_.size(); ++i) {
    octets_[i] = new QLineEdit(this);
    octets_[i]->setMaxLength(kOctetLength);
    connect(octets_[i], &QLineEdit::textEdited, this, [this] { edited_ = true; });
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

QString Ipv4Field::Text() const {
  QStringList parts;
  for (const QLineEdit* octet : octets_) parts.append(octet->text());
  return parts.join(QLatin1Char('.'));
}

void Ipv4Field::SetAddress(std::uint32_t address) {
  for (std::size_t i = 0; i < octets_.size(); ++i) {
    octets_[i]->setText(QString::number((address >> (24 - 8 * i)) & 0xFFu));
  }
  edited_ = false;
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
