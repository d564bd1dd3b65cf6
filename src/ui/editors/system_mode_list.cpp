#include "ui/editors/system_mode_list.h"

#include <QMenu>
#include <QTableWidget>

#include <algorithm>

#include "i18n/label_text.h"
#include "link/link_worker.h"
#include "protocol/address_map.h"
#include "ui/editors/cell_editor.h"
#include "ui/platform/message_box.h"
#include "ui/platform/translated.h"

namespace rmt4::ui {
namespace {

constexpr int kNameColumn = 1;
// The recall request: mode number in the low byte, 0x600 asks the worker to recall it.
constexpr std::uint16_t kRecallRequest = 0x0600;
const QColor kCurrentModeMark(5, 64, 235);

/// The slot's name up to its first zero, without the blanks the console pads it with.
QString SlotName(const ModeName& name) {
  std::size_t end = 0;
  while (end < name.size() && name[end] != u'\0') ++end;
  while (end > 0 && name[end - 1] <= u' ') --end;
  return QString::fromUtf16(name.data(), static_cast<qsizetype>(end));
}

QString ShownName(const ModeName& name) {
  const QString text = SlotName(name);
  return text.isEmpty() ? QStringLiteral("Factory") : text;
}

}  // namespace

SystemModeList::SystemModeList(QTableWidget& list, CellEditor& editor, LinkWorker& link, QWidget& window)
    : list_(list), editor_(editor), link_(link), window_(window) {}

void SystemModeList::Fill() {
  list_.setRowCount(kModeCount);
  for (int row = 0; row < kModeCount; ++row) {
    list_.setItem(row, 0, new QTableWidgetItem(QString::number(row + 1)));
    list_.setItem(row, kNameColumn, new QTableWidgetItem);
    ShowRowName(row);
  }
  HighlightCurrentMode();
}

void SystemModeList::ShowRowName(int row) {
  list_.item(row, kNameColumn)->setText(ShownName(link_.context().state.modeNames.Name(row + 1)));
}

void SystemModeList::RefreshNames() {
  QWidget* focus = list_.window()->focusWidget();
  const bool userInList = focus != nullptr && (focus == &list_ || list_.isAncestorOf(focus));
  ModeNameTable& names = link_.context().state.modeNames;
  if (userInList || !names.modeNamesChanged.exchange(false)) return;
  for (int row = 0; row < kModeCount; ++row) ShowRowName(row);
}

void SystemModeList::HighlightCurrentMode() {
  const int current = link_.params().Value(address::kCurrentMode);
  if (current == 0) return;
  highlighted_ = current >= 1 && current <= kModeCount ? current - 1 : -1;
  for (int row = 0; row < list_.rowCount(); ++row) {
    for (int column = 0; column < list_.columnCount(); ++column) {
      if (QTableWidgetItem* item = list_.item(row, column)) {
        item->setBackground(row == highlighted_ ? QBrush(kCurrentModeMark) : QBrush());
        item->setForeground(row == highlighted_ ? QBrush(Qt::white) : QBrush());
      }
    }
  }
}

void SystemModeList::OnRightClick(int row, int column, QPoint global) {
  if (column == kNameColumn && row >= 0) {
    modeRow_ = row;
    modeColumn_ = column;
  } else if (editor_.editing()) {
    FinishRename();
  }
  if (!link_.linkUp()) {
    (void)ShowMessageBox(&window_, MessageStyle::Ok, Translated(LabelId::NoDevice));
    return;
  }
  const std::unique_ptr<QMenu> menu = BuildMenu();
  if (const QAction* chosen = menu->exec(global)) Run(chosen->data().toInt());
}

std::unique_ptr<QMenu> SystemModeList::BuildMenu() const {
  auto menu = std::make_unique<QMenu>(&window_);
  menu->addAction(Translated(LabelId::Use))->setData(kUse);
  menu->addAction(Translated(LabelId::SaveMode))->setData(kSave);
  menu->addAction(Translated(LabelId::ModifyName))->setData(kModifyName);
  return menu;
}

void SystemModeList::Run(int command) {
  switch (command) {
    case kUse:
      Recall();
      break;
    case kSave:
      StoreName();
      break;
    case kModifyName:
      editor_.Open(list_, modeRow_, modeColumn_, [this] { FinishRename(); });
      break;
    default:
      break;
  }
}

void SystemModeList::Recall() {
  // The mode the user selected; with nothing selected, the one clicked on.
  const int row = list_.currentRow() >= 0 ? list_.currentRow() : modeRow_;
  link_.params()[address::kModeOperation].Edit(static_cast<std::uint16_t>((row + 1) | kRecallRequest));
  link_.jobs().Request(LinkJob::RecallMode);
}

void SystemModeList::StoreName() {
  const QTableWidgetItem* cell = list_.item(modeRow_, kNameColumn);
  const QString text = cell != nullptr ? cell->text() : QString();
  if (text.isEmpty()) {
    (void)ShowMessageBox(&window_, MessageStyle::Ok, Translated(LabelId::EnterFileName));
    return;
  }
  ModeName name;
  name.fill(u' ');
  const std::u16string typed = text.toStdU16String();
  std::copy_n(typed.begin(), std::min(typed.size(), name.size()), name.begin());
  ModeNameTable& names = link_.context().state.modeNames;
  names.Store(modeRow_ + 1, name);  // the buffer the job sends, and the slot
  link_.params()[address::kModeOperation].Store(static_cast<std::uint16_t>(modeRow_ + 1));
  link_.jobs().Request(LinkJob::StoreModeName);
}

void SystemModeList::FinishRename() {
  if (!editor_.Commit()) return;
  const QString typed = list_.item(modeRow_, kNameColumn)->text();
  const ModeName stored = link_.context().state.modeNames.Name(modeRow_ + 1);
  if (typed == ShownName(stored)) return;
  const MessageButton answer = ShowMessageBox(&window_, MessageStyle::YesNo, Translated(LabelId::SchemaNameChanged),
                                              Translated(LabelId::Warning));
  if (answer == MessageButton::Yes) {
    StoreName();
  } else {
    ShowRowName(modeRow_);
  }
}

}  // namespace rmt4::ui
