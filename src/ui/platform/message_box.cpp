#include "ui/platform/message_box.h"

#include <QMessageBox>
#include <QPushButton>

#include "i18n/language.h"

namespace rmt4::ui {
namespace {

struct ButtonTexts {
  const char* ok;
  const char* cancel;
  const char* yes;
  const char* no;
};

// The window system's own button texts in the three interface languages.
ButtonTexts TextsFor(LanguageIndex language) {
  switch (language) {
    case LanguageIndex::SimplifiedChinese:
      return {"确定", "取消", "是(&Y)", "否(&N)"};
    case LanguageIndex::TraditionalChinese:
      return {"確定", "取消", "是(&Y)", "否(&N)"};
    default:
      return {"OK", "Cancel", "&Yes", "&No"};
  }
}

}  // namespace

MessageButton ShowMessageBox(QWidget* owner, MessageStyle style, const QString& text, const QString& caption) {
  const ButtonTexts texts = TextsFor(CurrentLanguage());
  QMessageBox box(owner);
  box.setWindowTitle(!caption.isEmpty() ? caption : owner != nullptr ? owner->window()->windowTitle() : QString());
  box.setText(text);
  box.setIcon(style == MessageStyle::YesNo ? QMessageBox::Question : QMessageBox::Information);

  QPushButton* first = nullptr;
  QPushButton* second = nullptr;
  switch (style) {
    case MessageStyle::YesNo:
      first = box.addButton(QString::fromUtf8(texts.yes), QMessageBox::YesRole);
      second = box.addButton(QString::fromUtf8(texts.no), QMessageBox::NoRole);
      box.setEscapeButton(second);
      break;
    case MessageStyle::OkCancel:
      first = box.addButton(QString::fromUtf8(texts.ok), QMessageBox::AcceptRole);
      second = box.addButton(QString::fromUtf8(texts.cancel), QMessageBox::RejectRole);
      box.setEscapeButton(second);
      break;
    default:
      first = box.addButton(QString::fromUtf8(texts.ok), QMessageBox::AcceptRole);
      box.setEscapeButton(first);
      break;
  }
  box.setDefaultButton(first);
  box.exec();

  const bool firstPressed = box.clickedButton() == first;
  switch (style) {
    case MessageStyle::YesNo:
      return firstPressed ? MessageButton::Yes : MessageButton::No;
    case MessageStyle::OkCancel:
      return firstPressed ? MessageButton::Ok : MessageButton::Cancel;
    default:
      return MessageButton::Ok;
  }
}

}  // namespace rmt4::ui
