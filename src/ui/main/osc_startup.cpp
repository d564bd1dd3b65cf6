#include "ui/main/osc_startup.h"

#include "automation/osc_option_text.h"
#include "files/osc_settings.h"
#include "ui/main/main_window.h"
#include "ui/main/window_osc_host.h"
#include "ui/platform/message_box.h"
#include "values/label_format.h"

namespace rmt4::ui {

std::optional<OscStartup> ChooseOscStartup(const ProgramOptions& program, const SettingsStore& store,
                                           std::string& problem) {
  StoredOscSettings stored = ReadOscSettings(store);
  OscStartup startup;
  startup.on = stored.on && !program.offline;
  std::vector<std::string> allow = SplitOscAllowList(stored.allow);
  const bool typed = program.oscPort || program.oscBind || !program.oscAllow.empty();
  if (program.oscPort) {
    startup.on = true;
    stored.port = *program.oscPort;
  }
  if (program.oscBind) stored.bindAddress = *program.oscBind;
  if (!program.oscAllow.empty()) allow = program.oscAllow;
  if (!startup.on && !typed) return startup;
  std::optional<std::string> refused = ReadOscOptions(stored.port, stored.bindAddress, allow, startup.options);
  if (!refused) return startup;
  if (typed) {
    problem = std::move(*refused);
    return std::nullopt;
  }
  startup.on = false;
  startup.storedProblem = std::move(refused);
  return startup;
}

void ServeOscAtStart(MainWindow& window, const OscStartup& startup) {
  std::optional<std::string> problem = startup.storedProblem;
  if (startup.on) problem = window.osc().Serve(startup.options);
  if (!problem) return;
  const std::string text = FormatLabel(LabelId::OscNotServingFormat, *problem);
  QMetaObject::invokeMethod(
      &window,
      [&window, text] {
        (void)ShowMessageBox(&window, MessageStyle::Ok, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
      },
      Qt::QueuedConnection);
}

}  // namespace rmt4::ui
