#pragma once

// The main window over the emulated console in the same process, for the
// System window and the network settings dialog; plus the hands that work
// their menus and message boxes.
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>

#include "emulator/console_responder.h"
#include "i18n/language.h"
#include "in_process_console.h"
#include "modal_answer.h"
#include "ui/main/main_window.h"

namespace rmt4::test {

/// Parent of the timers that wait for a menu or a box; a test that ends
/// before they fired drops them, so that no later test gets its answers.
inline QObject& PendingAnswers() {
  static QObject* const pending = new QObject;
  return *pending;
}
inline void DropPendingAnswers() { qDeleteAll(PendingAnswers().findChildren<QTimer*>(Qt::FindDirectChildrenOnly)); }

class SystemTestHost : public ::testing::Test {
 protected:
  SystemTestHost() {
    folder_ = std::filesystem::temp_directory_path() /
              ("rmt4-system-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
    (void)SetCurrentLanguage(LanguageIndex::English);
  }
  ~SystemTestHost() override {
    DropPendingAnswers();
    window_.reset();
    (void)SetCurrentLanguage(LanguageIndex::English);
    std::filesystem::remove_all(folder_);
  }

  /// The main window; `plugged` false leaves the link searching, so raised
  /// jobs and queued commands stay where the windows put them.
  void Start(bool plugged) {
    LinkWorker::Options options;
    options.makeTransport = [this, plugged](ConnectionKind, LinkContext& context, FrameSender&) {
      auto transport = std::make_unique<InProcessConsole>(context, console_);
      transport->SetPlugged(plugged);
      return transport;
    };
    options.readConfiguration = [] { return LinkConfiguration{kUsbHid, 128000}; };
    options.sceneFolders = AppFolders{folder_ / "scenes", folder_ / "fallback"};
    window_ = std::make_unique<ui::MainWindow>(std::move(options));
    window_->show();
    if (plugged) {
      ASSERT_TRUE(PumpUntil([&] { return window_->link().SyncCount() >= 1; }, 10000)) << "no complete read";
    }
  }

  LinkWorker& link() { return window_->link(); }
  std::filesystem::path scenes() const { return folder_ / "scenes"; }
  std::filesystem::path fallback() const { return folder_ / "fallback"; }

  emulator::ConsoleResponder console_{emulator::ConsoleSettings{}};
  std::filesystem::path folder_;
  std::unique_ptr<ui::MainWindow> window_;
};

/// Chooses the item whose data is `command` in the next pop-up menu, as the
/// keyboard does; records whether each item was enabled. Nothing is chosen
/// (the menu is closed) when `command` is 0.
inline void ChooseFromNextMenu(int command, std::map<int, bool>* enabled = nullptr) {
  auto* timer = new QTimer(&PendingAnswers());
  QObject::connect(timer, &QTimer::timeout, timer, [timer, command, enabled] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    timer->stop();
    timer->deleteLater();
    QAction* chosen = nullptr;
    for (QAction* action : menu->actions()) {
      if (enabled != nullptr) (*enabled)[action->data().toInt()] = action->isEnabled();
      if (action->data().toInt() == command) chosen = action;
    }
    if (chosen == nullptr || !chosen->isEnabled()) {
      menu->close();
      return;
    }
    menu->setActiveAction(chosen);
    QTest::keyClick(menu, Qt::Key_Return);
  });
  timer->start(5);
}

/// Answers the next message box with `button` and keeps its text.
inline void AnswerNextBox(QString* text, const QString& button = {}) {
  auto* timer = new QTimer(&PendingAnswers());
  QObject::connect(timer, &QTimer::timeout, timer, [timer, text, button] {
    QMessageBox* box = OpenMessageBox();
    if (box == nullptr) return;
    timer->stop();
    timer->deleteLater();
    if (text != nullptr) *text = box->text();
    if (button.isEmpty() || !PressButton(*box, button)) box->buttons().front()->click();
  });
  timer->start(5);
}

}  // namespace rmt4::test
