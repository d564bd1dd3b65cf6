#include "ui/main/remote_app.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "files/settings_store.h"
#include "i18n/language_choice.h"
#include "link/link_configuration.h"
#include "platform/app_folders.h"
#include "platform/system_locale.h"
#include "transport/transport_factory.h"
#include "ui/controls/control_accessible.h"
#include "ui/main/main_window.h"
#include "ui/main/offline_session.h"
#include "ui/main/osc_startup.h"
#include "ui/platform/artwork.h"
#include "ui/platform/fonts.h"
#include "ui/platform/message_box.h"
#include "ui/platform/single_instance.h"
#include "ui/platform/termination_signals.h"
#include "ui/platform/translated.h"

namespace rmt4::ui {
namespace {

/// The first argument the program does not know among those Qt left.
std::optional<std::string> UnknownArgument() {
  QStringList arguments = QApplication::arguments();
  if (!arguments.isEmpty()) arguments.removeFirst();
  std::vector<std::string> texts;
  for (const QString& argument : arguments) texts.push_back(argument.toLocal8Bit().toStdString());
  std::vector<const char*> pointers;
  for (const std::string& text : texts) pointers.push_back(text.c_str());
  ProgramOptions options = ParseProgramOptions(pointers);
  if (options.unknown.empty()) return std::nullopt;
  return std::move(options.unknown.front());
}

}  // namespace

int RemoteApp::Run(int argc, char** argv, const ProgramOptions& programOptions) {
  QApplication app(argc, argv);
  // Qt has taken its own arguments now: what is left and unknown is a typing
  // mistake, and a mistyped --offline must not reach a live console.
  if (const std::optional<std::string> unknown = UnknownArgument()) {
    std::fprintf(stderr, "rmt4: unknown argument '%s'; see rmt4 --help\n", unknown->c_str());
    return 2;
  }
  const TerminationSignals terminationSignals;
  QApplication::setApplicationName(QStringLiteral("RMT-4"));
  // Desktops match the window to the installed rmt4.desktop by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral("rmt4"));
  QApplication::setWindowIcon(QIcon(QPixmap::fromImage(LoadArtwork(128))));
  InstallFontSubstitutes();
  InstallControlAccessibility();

  const AppFolders folders = CurrentAppFolders();
  (void)SetCurrentLanguage(
      ChooseLanguage(SettingsStore(folders).ReadSettingInt(kLanguageSettingsFile, kLanguageKey), SystemLocaleId()));
  // Refused in the user's language before anything starts, like an unknown argument.
  std::string oscProblem;
  const std::optional<OscStartup> osc = ChooseOscStartup(programOptions, SettingsStore(folders), oscProblem);
  if (!osc) {
    std::fprintf(stderr, "rmt4: %s\n", oscProblem.c_str());
    return 2;
  }

  if (programOptions.offline) {
    // Not one copy per session: a show can be prepared offline while another
    // copy runs the console. Nothing here reaches a network or a device.
    OfflineSession session(folders);
    if (programOptions.offlineScene && !session.LoadSceneOrExplain(*programOptions.offlineScene)) return 1;
    MainWindow window(session.LinkOptions());
    window.ShowOffline();
    window.SetCloseQuestion([&session, &window] { return session.ConfirmClose(&window); });
    ServeOscAtStart(window, *osc);
    window.show();
    return QApplication::exec();
  }

  SingleInstance instance;
  switch (instance.TryClaim()) {
    case SingleInstance::Claim::AlreadyRunning: {
      instance.AskRunningToActivate();
      ShowMessageBox(nullptr, MessageStyle::Ok, Translated(LabelId::ProgramIsRunning), QStringLiteral("RMT-4"));
      return 0;
    }
    case SingleInstance::Claim::Failed:
      // Not worth refusing to run over: the user simply loses the guard.
      std::fprintf(stderr, "rmt4: cannot tell whether another copy is running: %s\n", qPrintable(instance.problem()));
      break;
    case SingleInstance::Claim::First:
      break;
  }

  LinkWorker::Options options;
  options.makeTransport = MakeTransportFactory(TransportChoice{});
  options.readConfiguration = [folders] { return ReadLinkConfiguration(folders); };
  options.sceneFolders = folders;
  MainWindow window(std::move(options));
  instance.ListenForActivation([&window] { window.BringToFront(); });
  ServeOscAtStart(window, *osc);
  window.show();
  return QApplication::exec();
}

}  // namespace rmt4::ui
