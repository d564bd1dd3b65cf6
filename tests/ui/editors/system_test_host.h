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
#include <optional>

#include "connected_main_window.h"
#include "ui/editors/scene_preview_dialog.h"

namespace rmt4::test {

/// Parent of the timers that wait for a menu or a box; a test that ends
/// before they fired drops them, so that no later test gets its answers.
inline QObject& PendingAnswers() {
  static QObject* const pending = new QObject;
  return *pending;
}
inline void DropPendingAnswers() { qDeleteAll(PendingAnswers().findChildren<QTimer*>(Qt::FindDirectChildrenOnly)); }

/// The System window's and the network dialog's tests: the main window over
/// the console in this process, started by each test.
class SystemTestHost : public ::testing::Test {
 protected:
  ~SystemTestHost() override {
    DropPendingAnswers();
    main_.reset();
  }

  /// The main window; `plugged` false leaves the link searching, so raised
  /// jobs and queued commands stay where the windows put them.
  void Start(bool plugged) {
    main_.emplace(WindowSetup{.plugged = plugged});
    if (plugged) {
      ASSERT_TRUE(main_->WaitForCompleteRead()) << "no complete read";
    }
  }

  ui::MainWindow& mainWindow() { return main_->window(); }
  LinkWorker& link() { return main_->link(); }
  emulator::ConsoleResponder& console() { return main_->console(); }
  std::filesystem::path scenes() const { return main_->scenes(); }
  std::filesystem::path fallback() const { return main_->fallback(); }

  std::optional<ConnectedMainWindow> main_;
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

/// Works the next scene preview with `hand` once it is open.
inline void AnswerNextPreview(std::function<void(ui::ScenePreviewDialog&)> hand) {
  auto* timer = new QTimer(&PendingAnswers());
  QObject::connect(timer, &QTimer::timeout, timer, [timer, hand = std::move(hand)] {
    auto* preview = dynamic_cast<ui::ScenePreviewDialog*>(QApplication::activeModalWidget());
    if (preview == nullptr) return;
    timer->stop();
    timer->deleteLater();
    hand(*preview);
  });
  timer->start(5);
}

/// Answers the next scene preview with Upload, the ticks as they are.
inline void UploadFromNextPreview() {
  AnswerNextPreview([](ui::ScenePreviewDialog& preview) { QTest::mouseClick(&preview.uploadButton(), Qt::LeftButton); });
}

}  // namespace rmt4::test
