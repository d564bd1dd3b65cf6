#pragma once

#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

#include "protocol/link_owner.h"
#include "ui/platform/cross_thread_caller.h"

namespace rmt4::ui {

class ProgressWindow;

/// The link layer's owner in the program: notifications become window
/// messages to the main window (codes 4 and 10 delivered synchronously),
/// message boxes are raised on the window thread while the calling link
/// thread waits, and the progress operations drive the progress window.
/// After BeginClosing nothing waits for the window any more.
class GuiLinkOwner final : public LinkOwner {
 public:
  GuiLinkOwner(QWidget& mainWindow, ProgressWindow& progress) : mainWindow_(mainWindow), progress_(progress) {}

  void PostNotify(UiNotify code, int argument) override;
  void SendStatus(LinkStatus status) override;
  std::optional<std::uint32_t> ChooseConsole(const std::vector<std::uint32_t>& consoles) override;
  MessageButton ShowMessage(MessageStyle style, std::string_view text, std::string_view caption) override;

  void SetProgressMaximum(int maximum) override;
  void SetProgressFormat(const std::string& format) override;
  void SetProgressPosition(int position) override;
  void ShowProgress() override;
  void HideProgress() override;
  void ShowSearchTarget(const std::string& target) override;

  /// Receives each search target on the window thread.
  void SetSearchTargetHandler(std::function<void(const QString&)> handler) { searchTargetHandler_ = std::move(handler); }

  /// The program is closing: waiting link threads return at once, later
  /// message boxes answer with their cancelling button unseen.
  void BeginClosing() { caller_.Cancel(); }

  /// For the main window while it handles UiNotify code 10.
  [[nodiscard]] const std::vector<std::uint32_t>& discoveredConsoles() const { return discovered_; }
  void SetChosenConsole(std::uint32_t address) { chosen_ = address; }

 private:
  QWidget& mainWindow_;
  ProgressWindow& progress_;
  CrossThreadCaller caller_;
  // Only touched while a ChooseConsole call holds the discovery thread.
  std::vector<std::uint32_t> discovered_;
  std::optional<std::uint32_t> chosen_;
  std::function<void(const QString&)> searchTargetHandler_;  // set before the link starts
};

}  // namespace rmt4::ui
