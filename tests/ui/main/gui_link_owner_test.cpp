#include <QWidget>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "modal_answer.h"
#include "ui/main/gui_link_owner.h"
#include "ui/main/progress_window.h"
#include "ui/platform/window_message.h"

namespace rmt4::ui {
namespace {

/// Stands in for the main window: records the notifications it is sent.
class RecordingWindow : public QWidget {
 public:
  bool event(QEvent* event) override {
    if (const WindowMessage* message = AsWindowMessage(event)) {
      notifications.emplace_back(static_cast<int>(message->wParam()), static_cast<int>(message->lParam()));
      if (message->wParam() == static_cast<int>(UiNotify::ChooseConsole) && owner != nullptr) {
        owner->SetChosenConsole(owner->discoveredConsoles().at(1));
      }
      return true;
    }
    return QWidget::event(event);
  }
  std::vector<std::pair<int, int>> notifications;
  GuiLinkOwner* owner = nullptr;
};

class GuiLinkOwnerTest : public ::testing::Test {
 protected:
  RecordingWindow window;
  ProgressWindow progress{&window};
  GuiLinkOwner owner{window, progress};
};

TEST_F(GuiLinkOwnerTest, AMessageBoxFromALinkThreadBlocksThatThreadOnly) {
  std::atomic<int> answer{0};
  bool seen = false;
  test::AnswerNextMessageBox([&](QMessageBox& box) {
    seen = true;
    EXPECT_EQ(box.windowTitle(), "Tip!");
    EXPECT_EQ(box.text(), "Save?");
    // The window thread runs (this timer fired) while the link thread waits.
    EXPECT_EQ(answer.load(), 0);
    EXPECT_TRUE(test::PressButton(box, "Yes"));
  });
  std::thread link([&] { answer.store(static_cast<int>(owner.ShowMessage(MessageStyle::YesNo, "Save?", "Tip!"))); });
  ASSERT_TRUE(test::PumpUntil([&] { return answer.load() != 0; }));
  link.join();
  EXPECT_TRUE(seen);
  EXPECT_EQ(answer.load(), static_cast<int>(MessageButton::Yes));
}

TEST_F(GuiLinkOwnerTest, ClosingReleasesAThreadWaitingForAnAnswer) {
  std::atomic<int> answer{0};
  test::AnswerNextMessageBox([&](QMessageBox& box) {
    EXPECT_EQ(box.windowTitle(), window.windowTitle());  // empty caption: the main window's title
    owner.BeginClosing();
    // The link thread returns without the user.
    EXPECT_TRUE(test::PumpUntil([&] { return answer.load() != 0; }, 2000));
    box.close();
  });
  std::thread link([&] { answer.store(static_cast<int>(owner.ShowMessage(MessageStyle::YesNo, "Save?", {}))); });
  ASSERT_TRUE(test::PumpUntil([&] { return answer.load() != 0 && test::OpenMessageBox() == nullptr; }));
  link.join();
  EXPECT_EQ(answer.load(), static_cast<int>(MessageButton::No));
  // Later boxes answer at once, unseen.
  EXPECT_EQ(owner.ShowMessage(MessageStyle::OkCancel, "x", {}), MessageButton::Cancel);
}

TEST_F(GuiLinkOwnerTest, StatusAndConsoleChoiceAreDeliveredBeforeTheLinkThreadGoesOn) {
  window.owner = &owner;
  std::optional<std::uint32_t> chosen;
  std::atomic<bool> done{false};
  std::thread link([&] {
    owner.SendStatus(LinkStatus::Searching);
    chosen = owner.ChooseConsole({0x7F000002, 0x7F000003});
    done.store(true);
  });
  ASSERT_TRUE(test::PumpUntil([&] { return done.load(); }));
  link.join();
  ASSERT_EQ(window.notifications.size(), 2u);
  EXPECT_EQ(window.notifications[0], std::make_pair(4, 1));
  EXPECT_EQ(window.notifications[1], std::make_pair(10, 2));
  EXPECT_EQ(chosen, 0x7F000003u);
}

}  // namespace
}  // namespace rmt4::ui
