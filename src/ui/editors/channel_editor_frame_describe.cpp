// Which parameter each value control of the editor frame's header stands for.
#include <array>
#include <utility>

#include "ui/controls/control_param.h"
#include "ui/controls/skinned_button.h"
#include "ui/controls/skinned_fader.h"
#include "ui/controls/skinned_slider.h"
#include "ui/editors/channel_editor_frame.h"
#include "values/control_param_names.h"
#include "values/editor_codes.h"

namespace rmt4::ui {

void ChannelEditorFrame::DescribeHeader() {
  const auto describe = [this](QWidget& control, int code) {
    DescribeControl(control, params_, [this, code] { return HeaderParamName(selection_, code); });
  };
  static constexpr std::array<std::pair<int, int>, 8> kButtonCodes{{{kInputMute, header_code::kInputMute},
                                                                    {kInputPfl, header_code::kInputPfl},
                                                                    {kOutputMute, header_code::kOutputMute},
                                                                    {kOutputPfl, header_code::kOutputPfl},
                                                                    {kPhantom, header_code::kPhantomPower},
                                                                    {kPhase, header_code::kPhase},
                                                                    {kLeft, header_code::kLeft},
                                                                    {kRight, header_code::kRight}}};
  for (const auto& [index, code] : kButtonCodes) describe(button(index), code);
  describe(fader(0), header_code::kInputFader);
  describe(fader(1), header_code::kOutputFader);
  describe(balance(), header_code::kBalance);
}

}  // namespace rmt4::ui
