// Which parameter each value control of an editor stands for.
#include <QLineEdit>

#include "ui/controls/band_panel.h"
#include "ui/controls/control_param.h"
#include "ui/controls/skinned_button.h"
#include "ui/controls/skinned_combo_box.h"
#include "ui/controls/skinned_slider.h"
#include "ui/editors/scrolling_editor.h"
#include "values/control_param_names.h"
#include "values/editor_codes.h"

namespace rmt4::ui {

void ScrollingEditor::DescribeControls(const ParamTable& params) {
  const auto describe = [&](QWidget& control, int code, bool isSwitch) {
    DescribeControl(control, params,
                    [this, code, isSwitch] { return EditorControlParamName(channel_, code, isSwitch); });
  };
  for (std::size_t i = 0; i < sliders_.size(); ++i) describe(*sliders_[i], inventory_.sliders[i].code, false);
  for (std::size_t i = 0; i < combos_.size(); ++i) describe(*combos_[i], inventory_.combos[i].code, false);
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    if (inventory_.buttons[i].latched) describe(*buttons_[i], inventory_.buttons[i].code, true);
  }
  // The band's fader and its fields, in BandPanel::kFieldIds order: gain, frequency, Q.
  constexpr std::array<int, 3> kFieldCodes{editor_code::kBandGain, editor_code::kBandFrequency, editor_code::kBandQ};
  for (std::size_t b = 0; b < bands_.size(); ++b) {
    const int band = static_cast<int>(b);
    describe(*bands_[b], editor_code::kBandGain + band, false);
    for (std::size_t k = 0; k < kFieldCodes.size(); ++k) {
      auto* field = bands_[b]->findChild<QLineEdit*>(QString::number(BandPanel::kFieldIds[k]));
      if (field != nullptr) describe(*field, kFieldCodes[k] + band, false);
    }
  }
}

}  // namespace rmt4::ui
