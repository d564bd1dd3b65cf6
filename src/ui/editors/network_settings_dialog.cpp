#include "ui/editors/network_settings_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <utility>

#include "i18n/label_text.h"
#include "protocol/module_commands.h"
#include "protocol/module_configuration.h"
#include "protocol/network_settings_check.h"
#include "ui/editors/console_palette.h"
#include "ui/editors/ipv4_field.h"
#include "ui/platform/message_box.h"
#include "ui/platform/translated.h"

namespace rmt4::ui {
namespace {

/// Dialog units of the 8-point dialog font, in pixels.
constexpr QRect Units(int left, int top, int width, int height) {
  return QRect(left * 3 / 2, top * 13 / 8, width * 3 / 2, height * 13 / 8);
}

constexpr QSize kDialogSize(183 * 3 / 2, 120 * 13 / 8);

QLabel* MakeCaption(const QString& text, const QRect& geometry, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setGeometry(geometry);
  return label;
}

}  // namespace

NetworkSettingsDialog::NetworkSettingsDialog(ModuleCommandTable& modules, SubnetQuery pcSubnets, QWidget* parent)
    : QDialog(parent),
      modules_(modules),
      pcSubnets_(std::move(pcSubnets)),
      address_(new Ipv4Field(this)),
      mask_(new Ipv4Field(this)),
      gateway_(new Ipv4Field(this)),
      mac_(new QLineEdit(this)),
      read_(new QPushButton(this)),
      set_(new QPushButton(this)) {
  setWindowTitle(QStringLiteral("NET_Confi"));
  setPalette(ConsoleDialogPalette());
  setFixedSize(kDialogSize);
  // The dialog's 8-point font; the captions reach further left than the
  // template's so that "SubnetMask:" fits in every face that may stand in.
  QFont dialogFont = font();
  dialogFont.setPixelSize(11);
  setFont(dialogFont);
  MakeCaption(QStringLiteral("IP:"), Units(2, 14, 52, 13), this);
  maskLabel_ = MakeCaption({}, Units(2, 34, 52, 13), this);
  gatewayLabel_ = MakeCaption({}, Units(2, 54, 52, 13), this);
  MakeCaption(QStringLiteral("MAC:"), Units(2, 74, 52, 13), this);
  address_->setGeometry(Units(60, 14, 116, 13));
  mask_->setGeometry(Units(60, 34, 116, 13));
  gateway_->setGeometry(Units(60, 54, 116, 13));
  mac_->setGeometry(Units(60, 74, 116, 13));
  read_->setGeometry(Units(16, 95, 60, 18));
  set_->setGeometry(Units(110, 95, 60, 18));
  read_->setAutoDefault(false);
  set_->setDefault(true);
  connect(read_, &QPushButton::clicked, this, &NetworkSettingsDialog::Read);
  connect(set_, &QPushButton::clicked, this, &NetworkSettingsDialog::Set);
  connect(mac_, &QLineEdit::textEdited, this, [this] { macEdited_ = true; });
  timer_.setInterval(kPollMs);
  connect(&timer_, &QTimer::timeout, this, &NetworkSettingsDialog::PollReplies);
  RefreshTexts();
}

void NetworkSettingsDialog::RefreshTexts() {
  maskLabel_->setText(Translated(LabelId::SubnetMask) + QStringLiteral(":"));
  gatewayLabel_->setText(Translated(LabelId::Gateway) + QStringLiteral(":"));
  read_->setText(Translated(LabelId::Read));
  set_->setText(Translated(LabelId::Set));
}

void NetworkSettingsDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  timer_.start();
  Read();
  RefreshTexts();
}

void NetworkSettingsDialog::hideEvent(QHideEvent* event) {
  timer_.stop();
  QDialog::hideEvent(event);
}

void NetworkSettingsDialog::Read() {
  address_->SetAddress(0);
  mask_->SetAddress(0);
  gateway_->SetAddress(0);
  mac_->clear();
  macEdited_ = false;
  modules_.SetModuleCommand(ModuleCommandTable::kGetConfig, "Get_Confi:");
}

void NetworkSettingsDialog::Set() {
  const CheckedNetworkSettings checked = CheckTypedNetworkSettings(
      {address_->Text().toStdString(), mask_->Text().toStdString(), gateway_->Text().toStdString(),
       mac_->text().toStdString()});
  if (checked.fault != NetworkSettingFault::kNone) {
    (void)ShowMessageBox(this, MessageStyle::Ok, Translated(NetworkSettingFaultText(checked.fault)));
    return;
  }
  if (!PcReaches(checked.configuration.address, pcSubnets_()) &&
      ShowMessageBox(this, MessageStyle::YesNo, Translated(LabelId::NetUnreachableFromPc)) != MessageButton::Yes) {
    return;
  }
  modules_.SetModuleCommand(ModuleCommandTable::kSetConfig, FormatSetConfigCommand(checked.configuration));
}

void NetworkSettingsDialog::PollReplies() {
  if (modules_.Done(ModuleCommandTable::kSetConfig)) ShowVerdict();
  if (modules_.Done(ModuleCommandTable::kGetConfig)) TakeConfiguration();
}

void NetworkSettingsDialog::ShowVerdict() {
  modules_.ClearDone(ModuleCommandTable::kSetConfig);
  timer_.stop();
  const std::string verdict = modules_.Text(ModuleCommandTable::kSetConfig);
  const QString said =
      ModuleAcceptedConfiguration(verdict)
          ? Translated(LabelId::Set) + QStringLiteral(" OK!")
          : Translated(LabelId::SetFailed) + QLatin1Char('\n') + QString::fromStdString(ShownVerdict(verdict));
  (void)ShowMessageBox(this, MessageStyle::Ok, said);
  timer_.start();
}

void NetworkSettingsDialog::TakeConfiguration() {
  modules_.ClearDone(ModuleCommandTable::kGetConfig);
  const auto configuration = StoredConfigurationReply(modules_);
  if (!configuration) return;
  // The reply may come late: what the user typed meanwhile is what Set must send.
  for (const auto& [field, value] : {std::pair{address_, configuration->address}, std::pair{mask_, configuration->mask},
                                     std::pair{gateway_, configuration->gateway}}) {
    if (!field->Edited()) field->SetAddress(value);
  }
  if (!macEdited_) mac_->setText(QString::fromStdString(configuration->mac));
}

}  // namespace rmt4::ui
