#include "ui/main/gui_link_owner.h"

#include "ui/main/progress_window.h"
#include "ui/platform/message_box.h"
#include "ui/platform/window_message.h"

namespace rmt4::ui {
namespace {

/// What a box answers when nobody can see it any more: its cancelling button.
MessageButton CancellingButton(MessageStyle style) {
  switch (ButtonsOf(style)) {
    case MessageStyle::YesNo:
      return MessageButton::No;
    case MessageStyle::OkCancel:
      return MessageButton::Cancel;
    default:
      return MessageButton::Ok;
  }
}

}  // namespace

void GuiLinkOwner::PostNotify(UiNotify code, int argument) {
  PostWindowMessage(&mainWindow_, kUiNotify, static_cast<int>(code), argument);
}

void GuiLinkOwner::SendStatus(LinkStatus status) {
  caller_.Call(&mainWindow_, [this, status] {
    SendWindowMessage(&mainWindow_, kUiNotify, static_cast<int>(UiNotify::Status), static_cast<int>(status));
  });
}

std::optional<std::uint32_t> GuiLinkOwner::ChooseConsole(const std::vector<std::uint32_t>& consoles) {
  std::optional<std::uint32_t> chosen;
  caller_.Call(&mainWindow_, [&] {
    discovered_ = consoles;
    chosen_.reset();
    SendWindowMessage(&mainWindow_, kUiNotify, static_cast<int>(UiNotify::ChooseConsole),
                      static_cast<int>(consoles.size()));
    chosen = chosen_;
    discovered_.clear();
  });
  return chosen;
}

MessageButton GuiLinkOwner::ShowMessage(MessageStyle style, std::string_view text, std::string_view caption) {
  MessageButton answer = CancellingButton(style);
  caller_.Call(&mainWindow_, [&] {
    answer = ShowMessageBox(&mainWindow_, style, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                            QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
  });
  return answer;
}

void GuiLinkOwner::ShowSearchTarget(const std::string& target) {
  if (!searchTargetHandler_) return;
  QMetaObject::invokeMethod(
      &mainWindow_, [handler = searchTargetHandler_, text = QString::fromStdString(target)] { handler(text); },
      Qt::QueuedConnection);
}

void GuiLinkOwner::SetProgressMaximum(int maximum) { progress_.SetProgressMaximum(maximum); }
void GuiLinkOwner::SetProgressFormat(const std::string& format) { progress_.SetProgressFormat(format); }
void GuiLinkOwner::SetProgressPosition(int position) { progress_.SetProgressPosition(position); }
void GuiLinkOwner::ShowProgress() { progress_.ShowProgress(); }
void GuiLinkOwner::HideProgress() { progress_.HideProgress(); }

}  // namespace rmt4::ui
