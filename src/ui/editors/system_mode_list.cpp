#include "ui/editors/system_mode_list.h"

#include <QMenu>
#include <QTableWidget>

#include <algorithm>
#include <utility>

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
  if (!link_.context().state.modeNames.modeNamesChanged.exchange(false)) return;
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

void SystemModeList::OnRightClick(int row, QPoint global) {
  if (!link_.linkUp()) {
    (void)ShowMessageBox(&window_, MessageStyle::Ok, Translated(LabelId::NoDevice));
    return;
  }
  const std::unique_ptr<QMenu> menu = BuildMenu(row >= 0);
  if (const QAction* chosen = menu->exec(global)) Run(chosen->data().toInt(), row);
}

std::unique_ptr<QMenu> SystemModeList::BuildMenu(bool onRow) const {
  auto menu = std::make_unique<QMenu>(&window_);
  for (const auto& [label, command] : {std::pair{LabelId::Use, kUse}, std::pair{LabelId::SaveMode, kSave},
                                       std::pair{LabelId::ModifyName, kModifyName}}) {
    QAction* action = menu->addAction(Translated(label));
    action->setData(command);
    action->setEnabled(onRow);
  }
  return menu;
}

void SystemModeList::Run(int command, int row) {
  if (row < 0 || row >= kModeCount) return;
  switch (command) {
    case kUse:
      Recall(row);
      break;
    case kSave:
      StoreName(row, list_.item(row, kNameColumn)->text());
      break;
    case kModifyName:
      editor_.Open(list_, row, kNameColumn, [this, row] { FinishRename(row); });
      break;
    default:
      break;
  }
}

void SystemModeList::Recall(int row) {
  link_.params()[address::kModeOperation].Edit(static_cast<std::uint16_t>((row + 1) | kRecallRequest));
  link_.jobs().Request(LinkJob::RecallMode);
}

void SystemModeList::StoreName(int row, const QString& text) {
  if (text.isEmpty()) {
    (void)ShowMessageBox(&window_, MessageStyle::Ok, Translated(LabelId::EnterFileName));
    return;
  }
  ModeName name;
  name.fill(u' ');
  const std::u16string typed = text.toStdU16String();
  std::copy_n(typed.begin(), std::min(typed.size(), name.size()), name.begin());
  ModeNameTable& names = link_.context().state.modeNames;
  names.Store(row + 1, name);  // the buffer the job sends, and the slot
  ShowRowName(row);
  link_.params()[address::kModeOperation].Store(static_cast<std::uint16_t>(row + 1));
  link_.jobs().Request(LinkJob::StoreModeName);
}

void SystemModeList::FinishRename(int row) {
  if (!editor_.Commit()) return;
  // Kept here: names arriving while the question is open may redraw the cell.
  const QString typed = list_.item(row, kNameColumn)->text();
  const ModeName stored = link_.context().state.modeNames.Name(row + 1);
  if (typed == ShownName(stored)) return;
  const MessageButton answer = ShowMessageBox(&window_, MessageStyle::YesNo, Translated(LabelId::SchemaNameChanged),
                                              Translated(LabelId::Warning));
  if (answer == MessageButton::Yes) {
    StoreName(row, typed);
  } else {
    ShowRowName(row);
  }
}

}  // namespace rmt4::ui
