#include "ui/main/window_osc_host.h"

#include "history/edit_history.h"
#include "values/param_catalogue.h"

namespace rmt4::ui {

WindowOscHost::WindowOscHost(ParamTable& params, EditHistory& history, std::function<void(ParamAddress)> show)
    : params_(params), history_(history), show_(std::move(show)) {}

// The server's thread ends before the queued stores it may have asked for are dropped with this object.
WindowOscHost::~WindowOscHost() { Stop(); }

std::optional<std::string> WindowOscHost::Serve(OscServerOptions options) {
  Stop();
  options_ = std::move(options);
  auto server = std::make_unique<OscServer>(params_, *this, options_);
  if (std::optional<std::string> problem = server->Start()) return problem;
  server_ = std::move(server);
  return std::nullopt;
}

void WindowOscHost::Stop() { server_.reset(); }

void WindowOscHost::SetStatus(OscLinkStatus status) {
  const std::lock_guard lock(statusMutex_);
  status_ = std::move(status);
}

OscLinkStatus WindowOscHost::Status() {
  const std::lock_guard lock(statusMutex_);
  return status_;
}

void WindowOscHost::EditsWaiting() {
  if (storeQueued_.exchange(true)) return;
  QMetaObject::invokeMethod(this, [this] { StoreWaitingEdits(); }, Qt::QueuedConnection);
}

void WindowOscHost::StoreWaitingEdits() {
  // Cleared before taking: edits that come in after the take queue another store.
  storeQueued_.store(false);
  if (server_ == nullptr) return;
  const std::vector<RequestedEdit> edits = server_->TakeEdits();
  if (edits.empty()) return;
  history_.BeginStep();
  StoreRequestedEdits(params_, edits);
  history_.EndStep();
  for (const RequestedEdit& edit : edits) {
    show_(edit.address);
    if (const std::optional<ParamAddress> companion = ParamAt(edit.address).companion) show_(*companion);
  }
}

}  // namespace rmt4::ui
