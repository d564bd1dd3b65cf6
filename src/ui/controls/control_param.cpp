#include "ui/controls/control_param.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

#include <optional>
#include <utility>

#include "i18n/language.h"
#include "values/named_value_text.h"
#include "values/param_display_name.h"

namespace rmt4::ui {
namespace {

constexpr const char* kBindingName = "rmt4-control-param";

}  // namespace

ControlParam::ControlParam(QWidget& control, const ParamTable& params, ParamNameSource paramName)
    : QObject(&control), control_(control), params_(params), paramName_(std::move(paramName)) {
  setObjectName(QString::fromLatin1(kBindingName));
  control.installEventFilter(this);
}

const ControlParam* ControlParam::Of(const QWidget& control) {
  return control.findChild<ControlParam*>(QString::fromLatin1(kBindingName), Qt::FindDirectChildrenOnly);
}

QString ControlParam::Name() const {
  const std::string name = paramName_();
  return name.empty() ? QString() : QString::fromStdString(DisplayName(name, CurrentLanguage()));
}

QString ControlParam::Value() const {
  const std::string name = paramName_();
  if (name.empty()) return {};
  const std::optional<std::string> text =
      NamedValueText(name, [this](ParamAddress address) { return params_.Value(address); });
  return text ? QString::fromStdString(*text) : QString();
}

bool ControlParam::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &control_) return false;
  // A control paints whenever what it shows changes, whoever changed it.
  if (event->type() == QEvent::Paint && QAccessible::isActive()) AnnounceChanges();
  if (event->type() == QEvent::ToolTip) {
    const QString name = Name();
    if (name.isEmpty()) return false;
    QString tip = name + QStringLiteral(": ") + Value();
    if (!control_.toolTip().isEmpty()) tip += QLatin1Char('\n') + control_.toolTip();
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip, &control_);
    return true;
  }
  return false;
}

void ControlParam::AnnounceChanges() {
  const QString name = Name();
  if (name != announcedName_) {
    announcedName_ = name;
    QAccessibleEvent named(&control_, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
  }
  const QString value = Value();
  if (value == announcedValue_) return;
  announcedValue_ = value;
  QAccessibleValueChangeEvent changed(&control_, value);
  QAccessible::updateAccessibility(&changed);
  // The value in words also travels as the description, which every bridge reads.
  QAccessibleEvent described(&control_, QAccessible::DescriptionChanged);
  QAccessible::updateAccessibility(&described);
}

void DescribeControl(QWidget& control, const ParamTable& params, ParamNameSource paramName) {
  new ControlParam(control, params, std::move(paramName));
}

}  // namespace rmt4::ui
