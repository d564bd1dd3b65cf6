#include "ui/editors/system_osc_group.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "automation/osc_option_text.h"
#include "ui/main/window_osc_host.h"
#include "ui/platform/message_box.h"
#include "ui/platform/translated.h"
#include "values/label_format.h"

namespace rmt4::ui {
namespace {

/// A rectangle given as (left, top, right, bottom), right and bottom outside it; inside the group.
constexpr QRect Span(int left, int top, int right, int bottom) { return QRect(left, top, right - left, bottom - top); }

constexpr int kTop = 16;
constexpr int kBottom = 36;

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString AllowText(const std::vector<std::string>& allow) {
  QStringList entries;
  for (const std::string& entry : allow) entries << FromUtf8(entry);
  return entries.join(QStringLiteral(", "));
}

}  // namespace

SystemOscGroup::SystemOscGroup(QGroupBox& box, WindowOscHost& host, const SettingsStore& settings, QWidget& window)
    : QObject(&box),
      host_(host),
      settings_(settings),
      window_(window),
      on_(new QCheckBox(&box)),
      portLabel_(new QLabel(&box)),
      port_(new QLineEdit(&box)),
      bindLabel_(new QLabel(&box)),
      bind_(new QLineEdit(&box)),
      allowLabel_(new QLabel(&box)),
      allow_(new QLineEdit(&box)) {
  on_->setGeometry(Span(8, kTop, 66, kBottom));
  portLabel_->setGeometry(Span(68, kTop, 100, kBottom));
  port_->setGeometry(Span(100, kTop, 146, kBottom));
  bindLabel_->setGeometry(Span(152, kTop, 196, kBottom));
  bind_->setGeometry(Span(196, kTop, 290, kBottom));
  allowLabel_->setGeometry(Span(296, kTop, 334, kBottom));
  allow_->setGeometry(Span(334, kTop, 452, kBottom));
  port_->setMaxLength(5);
  bind_->setMaxLength(15);
  allow_->setPlaceholderText(QStringLiteral("192.168.1.0/24"));

  // What serves now (the command line may have chosen it), else what is stored.
  StoredOscSettings shown = ReadOscSettings(settings_);
  shown.on = host_.serving();
  if (host_.serving()) {
    const OscServerOptions& options = host_.options();
    shown.port = std::to_string(options.port);
    shown.bindAddress = options.bindAddress;
    shown.allow = AllowText(options.allow).toStdString();
  }
  Show(shown);
  applied_ = shown;

  connect(on_, &QCheckBox::clicked, this, &SystemOscGroup::Apply);
  for (QLineEdit* field : {port_, bind_, allow_}) connect(field, &QLineEdit::editingFinished, this, &SystemOscGroup::FieldEdited);
  RefreshTexts();
}

void SystemOscGroup::RefreshTexts() {
  on_->setText(Translated(LabelId::OscOn));
  portLabel_->setText(Translated(LabelId::OscPort));
  bindLabel_->setText(Translated(LabelId::OscBindAddress));
  allowLabel_->setText(Translated(LabelId::OscAllow));
}

StoredOscSettings SystemOscGroup::Typed() const {
  return {.on = on_->isChecked(),
          .port = port_->text().trimmed().toStdString(),
          .bindAddress = bind_->text().trimmed().toStdString(),
          .allow = AllowText(SplitOscAllowList(allow_->text().toStdString())).toStdString()};
}

void SystemOscGroup::Show(const StoredOscSettings& settings) {
  on_->setChecked(settings.on);
  port_->setText(FromUtf8(settings.port));
  bind_->setText(FromUtf8(settings.bindAddress));
  allow_->setText(FromUtf8(settings.allow));
}

void SystemOscGroup::FieldEdited() {
  if (on_->isChecked() && Typed() != applied_) Apply();
}

void SystemOscGroup::Apply() {
  StoredOscSettings typed = Typed();
  std::optional<std::string> problem;
  if (typed.on) {
    OscServerOptions options;
    const std::vector<std::string> allow = SplitOscAllowList(typed.allow);
    problem = ReadOscOptions(typed.port, typed.bindAddress, allow, options);
    if (!problem) problem = host_.Serve(std::move(options));
  }
  if (!typed.on || problem) host_.Stop();
  if (problem) typed.on = false;
  Show(typed);
  applied_ = typed;
  const bool stored = WriteOscSettings(settings_, typed);
  if (problem) {
    (void)ShowMessageBox(&window_, MessageStyle::Ok, FromUtf8(FormatLabel(LabelId::OscNotServingFormat, *problem)));
  } else if (!stored) {
    (void)ShowMessageBox(&window_, MessageStyle::Ok, Translated(LabelId::SaveFailed));
  }
}

}  // namespace rmt4::ui
