#pragma once

#include <QTemporaryDir>

#include <atomic>
#include <filesystem>
#include <memory>

#include "emulator/console_responder.h"
#include "i18n/language_guard.h"
#include "in_process_console.h"
#include "modal_answer.h"
#include "ui/controls/skinned_button.h"
#include "ui/editors/channel_editor_frame.h"
#include "ui/editors/editor_panel.h"
#include "ui/editors/editor_panels.h"
#include "ui/editors/input_editor.h"
#include "ui/main/input_strip.h"
#include "ui/main/main_window.h"
#include "ui/main/strip_bank.h"
#include "user_input.h"

namespace rmt4::test {

/// The top bar's status field, by its index among the window's buttons.
inline constexpr int kStatusButton = 3;

/// How the window under test meets its console.
struct WindowSetup {
  /// The connection the window believes it has (its title names it).
  ConnectionKind kind = kUsbHid;
  /// False leaves the link searching until `transport().SetPlugged(true)`,
  /// so raised jobs and queued commands stay where the windows put them.
  bool plugged = true;
  /// The language the window starts in; the one before comes back afterwards.
  LanguageIndex language = LanguageIndex::English;
  ui::EditorPanelFactory panels = ui::MakeEditorPanels;
};

/// The main window with its real link worker, connected to the emulator's
/// console logic in this process, as a user of the demo sees it; its scene,
/// settings and change log folders are its own, removed afterwards.
class ConnectedMainWindow {
 public:
  explicit ConnectedMainWindow(WindowSetup setup = {});
  ConnectedMainWindow(const ConnectedMainWindow&) = delete;
  ConnectedMainWindow& operator=(const ConnectedMainWindow&) = delete;
  ~ConnectedMainWindow();

  /// Whether the link finished its first complete read of the console in time.
  [[nodiscard]] bool WaitForCompleteRead(int limitMs = 20000);
  /// Presses ENTER on input strip `strip`, as the user opens a channel.
  void OpenFromStrip(int strip);

  /// How long an edit may take to reach the console: the worker writes what
  /// is dirty every cycle (tens of ms); room for a busy machine.
  static constexpr int kWriteLimitMs = 1500;
  /// Whether the console comes to hold `editor`'s reading of `code` at
  /// `address` within kWriteLimitMs.
  [[nodiscard]] bool ReachesConsole(const ui::EditorPanel& editor, int code, ParamAddress address);

  [[nodiscard]] ui::MainWindow& window() { return *window_; }
  [[nodiscard]] LinkWorker& link() { return window_->link(); }
  [[nodiscard]] ParamTable& params() { return link().params(); }
  [[nodiscard]] ui::ChannelEditorFrame& frame();
  [[nodiscard]] ui::InputEditor& inputEditor();
  [[nodiscard]] emulator::ConsoleResponder& console() { return console_; }
  /// The link's current transport, waited for while the link starts.
  [[nodiscard]] InProcessConsole& transport();

  [[nodiscard]] std::filesystem::path folder() const { return folder_.path().toStdString(); }
  [[nodiscard]] std::filesystem::path scenes() const { return folder() / "scenes/"; }
  [[nodiscard]] std::filesystem::path fallback() const { return folder() / "fallback/"; }
  /// Where the window's change log goes.
  [[nodiscard]] std::filesystem::path state() const { return folder() / "state/"; }

 private:
  LanguageGuard language_;
  QTemporaryDir folder_;
  emulator::ConsoleResponder console_{emulator::ConsoleSettings{}};  // outlives the window's link
  std::atomic<InProcessConsole*> transport_{nullptr};
  std::unique_ptr<ui::MainWindow> window_;
};

}  // namespace rmt4::test
