#include "ui/editors/network_settings_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

#include "i18n/label_text.h"
#include "protocol/module_commands.h"
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

LabelId FaultText(NetworkSettingFault fault) {
  switch (fault) {
    case NetworkSettingFault::kAddressUnusable:
      return LabelId::NetAddressUnusable;
    case NetworkSettingFault::kMaskNotContiguous:
      return LabelId::NetMaskNotContiguous;
    case NetworkSettingFault::kGatewayOutsideSubnet:
      return LabelId::NetGatewayOutsideSubnet;
    default:
      return LabelId::NetMacMalformed;
  }
}

QLabel* MakeCaption(const QString& text, const QRect& geometry, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setGeometry(geometry);
  return label;
}

}  // namespace

CWin_NetConfi::CWin_NetConfi(ModuleCommandTable& modules, QWidget* parent)
    : QDialog(parent),
      modules_(modules),
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
  connect(read_, &QPushButton::clicked, this, &CWin_NetConfi::Read);
  connect(set_, &QPushButton::clicked, this, &CWin_NetConfi::Set);
  timer_.setInterval(kPollMs);
  connect(&timer_, &QTimer::timeout, this, &CWin_NetConfi::PollReplies);
  RefreshTexts();
}

void CWin_NetConfi::RefreshTexts() {
  maskLabel_->setText(Translated(LabelId::SubnetMask) + QStringLiteral(":"));
  gatewayLabel_->setText(Translated(LabelId::Gateway) + QStringLiteral(":"));
  read_->setText(Translated(LabelId::Read));
  set_->setText(Translated(LabelId::Set));
}

void CWin_NetConfi::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  timer_.start();
  Read();
  RefreshTexts();
}

void CWin_NetConfi::hideEvent(QHideEvent* event) {
  timer_.stop();
  QDialog::hideEvent(event);
}

void CWin_NetConfi::Read() {
  address_->SetAddress(0);
  mask_->SetAddress(0);
  gateway_->SetAddress(0);
  mac_->clear();
  modules_.SetModuleCommand(ModuleCommandTable::kGetConfig, "Get_Confi:");
}

void CWin_NetConfi::Set() {
  ModuleConfiguration configuration;
  configuration.address = address_->Address();
  configuration.mask = mask_->Address();
  configuration.gateway = gateway_->Address();
  configuration.mac = mac_->text().toStdString();
  const NetworkSettingFault fault = CheckNetworkSettings(configuration);
  if (fault != NetworkSettingFault::kNone) {
    (void)ShowMessageBox(this, MessageStyle::Ok, Translated(FaultText(fault)));
    return;
  }
  modules_.SetModuleCommand(ModuleCommandTable::kSetConfig, FormatSetConfigCommand(configuration));
}

void CWin_NetConfi::PollReplies() {
  if (modules_.Done(ModuleCommandTable::kSetConfig)) {
    modules_.ClearDone(ModuleCommandTable::kSetConfig);
    timer_.stop();
    const bool accepted = ModuleAcceptedConfiguration(modules_.Text(ModuleCommandTable::kSetConfig));
    (void)ShowMessageBox(this, MessageStyle::Ok,
                         accepted ? Translated(LabelId::Set) + QStringLiteral(" OK!") : Translated(LabelId::SetFailed));
    timer_.start();
  }
  if (modules_.Done(ModuleCommandTable::kGetConfig)) {
    modules_.ClearDone(ModuleCommandTable::kGetConfig);
    const std::string reply = modules_.Text(ModuleCommandTable::kGetConfig);
    // The reply's own bytes only: a MAC the module did not end with a separator may be cut short.
    const std::size_t length = std::min<std::size_t>(modules_.Number(ModuleCommandTable::kGetConfig), reply.find('\0'));
    if (const auto configuration = ParseConfigurationReply(std::string_view(reply).substr(0, length))) {
      address_->SetAddress(configuration->address);
      mask_->SetAddress(configuration->mask);
      gateway_->SetAddress(configuration->gateway);
      mac_->setText(QString::fromStdString(configuration->mac));
    }
  }
}

}  // namespace rmt4::ui
