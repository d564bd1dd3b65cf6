#include "connected_main_window.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace rmt4::test {

ConnectedMainWindow::ConnectedMainWindow(WindowSetup setup) {
  EXPECT_TRUE(SetCurrentLanguage(setup.language));
  LinkWorker::Options options;
  options.makeTransport = [this, plugged = setup.plugged](ConnectionKind, LinkContext& context, FrameSender&) {
    auto transport = std::make_unique<InProcessConsole>(context, console_);
    transport->SetPlugged(plugged);
    transport_.store(transport.get());
    return transport;
  };
  options.readConfiguration = [kind = setup.kind] { return LinkConfiguration{kind, 128000}; };
  options.sceneFolders = AppFolders{scenes(), fallback()};
  options.sceneFolders.stateDirectory = state();
  window_ = std::make_unique<ui::MainWindow>(std::move(options), setup.panels);
  window_->show();
}

ConnectedMainWindow::~ConnectedMainWindow() = default;

bool ConnectedMainWindow::WaitForCompleteRead(int limitMs) {
  return PumpUntil([&] { return link().SyncCount() >= 1; }, limitMs);
}

void ConnectedMainWindow::OpenFromStrip(int strip) { Click(window_->strips().inputStrip(strip).button(ui::StripCode::Enter)); }

bool ConnectedMainWindow::ReachesConsole(const ui::EditorPanel& editor, int code, ParamAddress address) {
  QCoreApplication::sendPostedEvents();
  const int shown = editor.ReadControl(code);
  return PumpUntil([&] { return console_.Value(address) == shown; }, kWriteLimitMs);
}

ui::ChannelEditorFrame& ConnectedMainWindow::frame() { return window_->editorFrame(); }

ui::InputEditor& ConnectedMainWindow::inputEditor() {
  return dynamic_cast<ui::InputEditor&>(*frame().panel(ui::PanelKind::Channel));
}

InProcessConsole& ConnectedMainWindow::transport() {
  if (!PumpUntil([&] { return transport_.load() != nullptr; })) throw std::runtime_error("the link made no transport");
  return *transport_.load();
}

}  // namespace rmt4::test
