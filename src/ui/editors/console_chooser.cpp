#include "ui/editors/console_chooser.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableWidget>

#include "platform/ipv4_address.h"

namespace rmt4::ui {
namespace {

// The dialog's design size, 163 × 110 dialog units, and its list at
// (7, 7) 149 × 95, in pixels of the 8-point dialog font.
constexpr QSize kDialogSize(245, 179);
constexpr QRect kListRect(10, 11, 224, 154);

}  // namespace

ConsoleChooser::ConsoleChooser(const std::vector<std::uint32_t>& consoles, QWidget* parent)
    : QDialog(parent), consoles_(consoles), list_(new QTableWidget(this)) {
  setWindowTitle(QStringLiteral("WIFI_User"));
  setFixedSize(kDialogSize);
  list_->setGeometry(kListRect);
  list_->setColumnCount(1);
  list_->setHorizontalHeaderLabels({QStringLiteral("Client IP")});
  list_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  list_->verticalHeader()->hide();
  list_->setShowGrid(true);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setRowCount(static_cast<int>(consoles_.size()));
  for (std::size_t row = 0; row < consoles_.size(); ++row) {
    chosenAddress_ = consoles_[row];
    list_->setItem(static_cast<int>(row), 0, new QTableWidgetItem(QString::fromStdString(FormatIpv4(consoles_[row]))));
  }
  list_->viewport()->installEventFilter(this);
  // Brought to the front without taking a place on top for good.
  setWindowFlag(Qt::WindowStaysOnTopHint, false);
}

bool ConsoleChooser::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    const auto* click = static_cast<QMouseEvent*>(event);
    if (click->button() != Qt::LeftButton && click->button() != Qt::RightButton) return true;
    const int row = list_->rowAt(click->position().toPoint().y());
    if (row < 0 || consoles_.empty()) return true;  // outside any row: nothing
    chosenAddress_ = consoles_[std::min<std::size_t>(static_cast<std::size_t>(row), consoles_.size() - 1)];
    accept();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void ConsoleChooser::keyPressEvent(QKeyEvent* event) {
  // The dialog has no button for Enter to press: it ends as Esc does, keeping the last listed console.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    reject();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace rmt4::ui
