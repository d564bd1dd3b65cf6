#include "ui/platform/message_box.h"

#include <QMessageBox>
#include <QPushButton>

#include <cstdint>

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

// The window system's icon bits of a style word.
constexpr std::uint32_t kIconMask = 0xF0;
constexpr std::uint32_t kIconError = 0x10;
constexpr std::uint32_t kIconQuestion = 0x20;
constexpr std::uint32_t kIconWarning = 0x30;
constexpr std::uint32_t kIconInformation = 0x40;

QMessageBox::Icon IconOf(MessageStyle style) {
  switch (static_cast<std::uint32_t>(style) & kIconMask) {
    case kIconError:
      return QMessageBox::Critical;
    case kIconQuestion:
      return QMessageBox::Question;
    case kIconWarning:
      return QMessageBox::Warning;
    case kIconInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

MessageStyle ButtonsOf(MessageStyle style) {
  return static_cast<MessageStyle>(static_cast<std::uint32_t>(style) & ~kIconMask);
}

MessageButton ShowMessageBox(QWidget* owner, MessageStyle style, const QString& text, const QString& caption) {
  const ButtonTexts texts = TextsFor(CurrentLanguage());
  QMessageBox box(owner);
  box.setWindowTitle(!caption.isEmpty() ? caption : owner != nullptr ? owner->window()->windowTitle() : QString());
  box.setText(text);
  box.setIcon(IconOf(style));
  style = ButtonsOf(style);

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
