#include "ui/controls/control_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLineEdit>

#include "ui/controls/band_panel.h"
#include "ui/controls/control_param.h"
#include "ui/controls/skinned_button.h"
#include "ui/controls/skinned_combo_box.h"
#include "ui/controls/skinned_fader.h"
#include "ui/controls/skinned_label.h"
#include "ui/controls/skinned_slider.h"

namespace rmt4::ui {
namespace {

// SkinnedButton::state(): a push button, or a latched one showing on.
constexpr int kPushButton = 0;
constexpr int kLatchedOn = 2;

/// One of the program's controls as a screen reader sees it.
class ControlAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  ControlAccessible(QWidget* control, QAccessible::Role role) : QAccessibleWidget(control, role) {}

  QAccessible::Role role() const override {
    // A skinned button is latched or not by the state its host gives it.
    if (const auto* button = qobject_cast<const SkinnedButton*>(widget())) {
      return button->state() == kPushButton ? QAccessible::Button : QAccessible::CheckBox;
    }
    return QAccessibleWidget::role();
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    if (const auto* button = qobject_cast<const SkinnedButton*>(widget()); button && button->state() != kPushButton) {
      state.checkable = true;
      state.checked = button->state() == kLatchedOn;
    }
    if (qobject_cast<const QLineEdit*>(widget())) state.editable = true;
    // Bound, but standing for nothing on this channel or bus (the AUX buses' balance), or
    // drawn as bare background where the channel has no such control: not offered.
    const ControlParam* param = ControlParam::Of(*widget());
    if ((param && param->ParamName().empty()) || !Drawn()) state.invisible = true;
    return state;
  }

  QString text(QAccessible::Text kind) const override {
    const ControlParam* param = ControlParam::Of(*widget());
    switch (kind) {
      case QAccessible::Name:
        if (!widget()->accessibleName().isEmpty()) return widget()->accessibleName();
        if (param && !param->Name().isEmpty()) return param->Name();
        return Caption();
      case QAccessible::Value:
        return param ? param->Value() : ShownText();
      case QAccessible::Description:
        // Qt's AT-SPI bridge passes on no value text, so the words travel here too.
        if (param) return param->Value();
        return QAccessibleWidget::text(kind);
      default:
        return QAccessibleWidget::text(kind);
    }
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface && QAccessibleWidget::role() == QAccessible::Slider) {
      return static_cast<QAccessibleValueInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
  }

  QVariant currentValue() const override {
    if (const auto* fader = qobject_cast<const SkinnedFader*>(widget())) return fader->position();
    if (const auto* slider = qobject_cast<const SkinnedSlider*>(widget())) return slider->GetValue();
    if (const auto* band = qobject_cast<const BandPanel*>(widget())) return band->gain();
    return {};
  }
  // Values change through the keys and the pointer, which take the host's one edit path.
  void setCurrentValue(const QVariant&) override {}
  QVariant maximumValue() const override {
    if (const auto* fader = qobject_cast<const SkinnedFader*>(widget())) return fader->maxValue();
    if (const auto* slider = qobject_cast<const SkinnedSlider*>(widget())) return slider->maxValue();
    return GainRange{}.max;
  }
  QVariant minimumValue() const override {
    if (const auto* fader = qobject_cast<const SkinnedFader*>(widget())) return fader->minValue();
    if (const auto* slider = qobject_cast<const SkinnedSlider*>(widget())) return slider->minValue();
    return GainRange{}.min;
  }
  QVariant minimumStepSize() const override {
    if (qobject_cast<const BandPanel*>(widget())) return GainRange{}.step;
    return 1;
  }

 private:
  [[nodiscard]] QString Caption() const {
    if (const auto* button = qobject_cast<const SkinnedButton*>(widget())) return button->text();
    if (const auto* label = qobject_cast<const SkinnedLabel*>(widget())) return label->text();
    return {};
  }
  /// Whether the host shows the control's skin, not only the background under it.
  [[nodiscard]] bool Drawn() const {
    if (const auto* button = qobject_cast<const SkinnedButton*>(widget())) return button->shown();
    if (const auto* control = qobject_cast<const SkinnedValueControl*>(widget())) return control->skinVisible();
    return true;
  }
  /// What an unbound control shows: a drop-down's shown item, a field's text.
  [[nodiscard]] QString ShownText() const {
    if (const auto* combo = qobject_cast<const SkinnedComboBox*>(widget())) return combo->itemText(combo->shownIndex());
    if (const auto* field = qobject_cast<const QLineEdit*>(widget())) return field->text();
    return {};
  }
};

QAccessibleInterface* MakeControlAccessible(const QString&, QObject* object) {
  if (!object->isWidgetType()) return nullptr;
  auto* widget = static_cast<QWidget*>(object);
  if (qobject_cast<SkinnedFader*>(widget) || qobject_cast<SkinnedSlider*>(widget) || qobject_cast<BandPanel*>(widget)) {
    return new ControlAccessible(widget, QAccessible::Slider);
  }
  if (qobject_cast<SkinnedButton*>(widget)) return new ControlAccessible(widget, QAccessible::Button);
  if (qobject_cast<SkinnedComboBox*>(widget)) return new ControlAccessible(widget, QAccessible::ComboBox);
  if (qobject_cast<SkinnedLabel*>(widget)) return new ControlAccessible(widget, QAccessible::StaticText);
  // The band panel's entry fields.
  if (qobject_cast<QLineEdit*>(widget) && qobject_cast<BandPanel*>(widget->parentWidget())) {
    return new ControlAccessible(widget, QAccessible::EditableText);
  }
  return nullptr;
}

}  // namespace

void InstallControlAccessibility() { QAccessible::installFactory(MakeControlAccessible); }

}  // namespace rmt4::ui
