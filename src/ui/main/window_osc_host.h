#pragma once

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "automation/osc_server.h"

namespace rmt4 {
class EditHistory;
}

namespace rmt4::ui {

/// Runs the OSC server for the main window: edits from clients are stored on
/// the window's thread as one undo step each batch, through the same path as
/// the window's own edits, and shown at once; /status answers from a copy of
/// what the window shows. Knows the server only by its interface.
class WindowOscHost final : public QObject, public OscHost {
 public:
  /// `show` makes the windows show a word anew, as for a value from the console.
  WindowOscHost(ParamTable& params, EditHistory& history, std::function<void(ParamAddress)> show);
  ~WindowOscHost() override;

  /// Serves with `options`, after stopping what served before; why not, in
  /// the user's language, when it cannot (and nothing serves then).
  [[nodiscard]] std::optional<std::string> Serve(OscServerOptions options);
  void Stop();
  [[nodiscard]] bool serving() const { return server_ != nullptr; }
  /// The options it serves with.
  [[nodiscard]] const OscServerOptions& options() const { return options_; }
  [[nodiscard]] std::uint16_t port() const { return server_ != nullptr ? server_->port() : 0; }

  /// What the window shows of the link now (window thread).
  void SetStatus(OscLinkStatus status);

  // OscHost, on the server's thread.
  void EditsWaiting() override;
  [[nodiscard]] OscLinkStatus Status() override;

 private:
  void StoreWaitingEdits();

  ParamTable& params_;
  EditHistory& history_;
  std::function<void(ParamAddress)> show_;
  OscServerOptions options_;
  std::unique_ptr<OscServer> server_;
  /// Set while a store is queued: a burst of client messages queues one.
  std::atomic<bool> storeQueued_{false};
  std::mutex statusMutex_;
  OscLinkStatus status_;
};

}  // namespace rmt4::ui
