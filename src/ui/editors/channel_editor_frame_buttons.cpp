// The header buttons: channel selection, switches, the 48V question and Copy.
#include <QMenu>

#include "i18n/label_id.h"
#include "ui/controls/skinned_button.h"
#include "ui/editors/channel_editor_frame.h"
#include "ui/platform/message_box.h"
#include "ui/platform/translated.h"
#include "values/editor_codes.h"
#include "values/editor_header_writes.h"

namespace rmt4::ui {

void ChannelEditorFrame::OnHeaderButton(int index) {
  switch (index) {
    case kInputEnter:
      SelectChannel(selection_.input);
      break;
    case kOutputEnter:
      SelectChannel(kMainChannel + selection_.output);
      break;
    case kInputMute:
      PostHeaderEdit(header_code::kInputMute);
      break;
    case kInputPfl:
      PostHeaderEdit(header_code::kInputPfl);
      break;
    case kOutputMute:
      PostHeaderEdit(header_code::kOutputMute);
      break;
    case kOutputPfl:
      PostHeaderEdit(header_code::kOutputPfl);
      break;
    case kCopy: {
      if (selection_.selected >= kCopyableChannels) break;
      const std::unique_ptr<QMenu> menu = BuildCopyMenu();
      const SkinnedButton& anchor = button(kCopy);
      if (const QAction* chosen = menu->exec(anchor.mapToGlobal(QPoint(0, anchor.height())))) {
        CopyToChannel(chosen->data().toInt());
      }
      break;
    }
    case kPhantom:
      // Phantom power can harm a source that does not want it: switching it on is confirmed,
      // and the button shows it off while the question is open.
      if (Lit(kPhantom)) {
        SetLit(kPhantom, false);
        if (ShowMessageBox(this, MessageStyle::YesNo, Translated(LabelId::Operating48V)) != MessageButton::Yes) break;
        SetLit(kPhantom, true);
      }
      PostHeaderEdit(header_code::kPhantomPower);
      break;
    case kPhase:
      PostHeaderEdit(header_code::kPhase);
      break;
    case kLeft:
      PostHeaderEdit(header_code::kLeft);
      break;
    case kRight:
      PostHeaderEdit(header_code::kRight);
      break;
    default:
      break;
  }
}

std::unique_ptr<QMenu> ChannelEditorFrame::BuildCopyMenu() {
  auto menu = std::make_unique<QMenu>(this);
  for (int target = 1; target <= kCopyableChannels; ++target) {
    QAction* action = menu->addAction(Translated(LabelId::CopyToCh) + QString::asprintf(":%d", target));
    action->setData(kFirstCopyCommand + target - 1);
    action->setEnabled(target - 1 != selection_.selected);
  }
  return menu;
}

void ChannelEditorFrame::CopyToChannel(int command) {
  if (selection_.selected >= kCopyableChannels) return;
  const int target = command - kFirstCopyCommand;
  // Phantom power switched on by a copy is asked for, as the 48V button asks; No copies the rest.
  PhantomPowerCopy phantom = PhantomPowerCopy::kCopied;
  if (CopySwitchesPhantomPowerOn(params_, selection_.selected, target) &&
      ShowMessageBox(this, MessageStyle::YesNo, Translated(LabelId::Operating48V)) != MessageButton::Yes) {
    phantom = PhantomPowerCopy::kTargetKept;
  }
  CopyChannelBlock(params_, selection_.selected, target, phantom);
}

}  // namespace rmt4::ui
