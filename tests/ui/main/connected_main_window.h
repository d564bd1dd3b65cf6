#pragma once

#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <filesystem>
#include <memory>

#include "emulator/console_responder.h"
#include "in_process_console.h"
#include "modal_answer.h"
#include "ui/controls/skinned_button.h"
#include "ui/editors/channel_editor_frame.h"
#include "ui/editors/input_editor.h"
#include "ui/main/main_window.h"
#include "ui/main/input_strip.h"
#include "ui/main/strip_bank.h"

namespace rmt4::test {

/// The main window with its real editor panels, connected to the emulator's
/// console logic in this process, as a user of the demo sees it.
class ConnectedMainWindow {
 public:
  ConnectedMainWindow() {
    LinkWorker::Options options;
    options.makeTransport = [this](ConnectionKind, LinkContext& context, FrameSender&) {
      auto transport = std::make_unique<InProcessConsole>(context, console_);
      transport_.store(transport.get());
      return transport;
    };
    options.readConfiguration = [] { return LinkConfiguration{kUsbHid, 128000}; };
    const std::filesystem::path folder = folder_.path().toStdString();
    options.sceneFolders = AppFolders{folder / "scenes/", folder / "fallback/"};
    window_ = std::make_unique<ui::MainWindow>(std::move(options));
    window_->show();
  }

  [[nodiscard]] bool WaitForCompleteRead(int limitMs = 20000) {
    return PumpUntil([&] { return window_->link().SyncCount() >= 1; }, limitMs);
  }

  /// Presses ENTER on input strip `strip`, as the user opens a channel.
  void OpenFromStrip(int strip) {
    ui::SkinnedButton& enter = window_->strips().inputStrip(strip).button(ui::StripCode::Enter);
    QTest::mouseClick(&enter, Qt::LeftButton, {}, enter.rect().center());
    QCoreApplication::sendPostedEvents();
  }

  [[nodiscard]] ui::MainWindow& window() { return *window_; }
  [[nodiscard]] ui::ChannelEditorFrame& frame() { return window_->editorFrame(); }
  [[nodiscard]] ui::InputEditor& inputEditor() {
    return dynamic_cast<ui::InputEditor&>(*frame().panel(ui::PanelKind::Channel));
  }
  [[nodiscard]] ParamTable& params() { return window_->link().params(); }
  [[nodiscard]] emulator::ConsoleResponder& console() { return console_; }
  [[nodiscard]] InProcessConsole& transport() { return *transport_.load(); }

 private:
  QTemporaryDir folder_;
  emulator::ConsoleResponder console_{emulator::ConsoleSettings{}};  // outlives the window's link
  std::atomic<InProcessConsole*> transport_{nullptr};
  std::unique_ptr<ui::MainWindow> window_;
};

}  // namespace rmt4::test
