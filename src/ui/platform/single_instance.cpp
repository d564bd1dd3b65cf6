#include "ui/platform/single_instance.h"

#include <QLocalSocket>

namespace rmt4::ui {
namespace {

constexpr int kKnockWaitMs = 1000;

}  // namespace

SingleInstance::SingleInstance(std::filesystem::path folder, QString name)
    : folder_(std::move(folder)), name_(std::move(name)), lock_(folder_ / (name_.toStdString() + ".lock")) {}

QString SingleInstance::SocketPath() const {
  return QString::fromStdString((folder_ / (name_.toStdString() + ".socket")).string());
}

SingleInstance::Claim SingleInstance::TryClaim() {
  switch (lock_.TryClaim()) {
    case NamedLock::Claim::Held:
      return Claim::First;
    case NamedLock::Claim::Blocked:
      return Claim::AlreadyRunning;
    default:
      return Claim::Failed;
  }
}

bool SingleInstance::ListenForActivation(std::function<void()> activate) {
  if (!lock_.Held()) return false;
  server_ = std::make_unique<QLocalServer>();
  // We hold the lock, so a socket file left there belongs to a copy that died.
  QLocalServer::removeServer(SocketPath());
  if (!server_->listen(SocketPath())) return false;
  QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this, activate = std::move(activate)] {
    while (QLocalSocket* knock = server_->nextPendingConnection()) {
      knock->disconnectFromServer();
      knock->deleteLater();
      activate();
    }
  });
  return true;
}

bool SingleInstance::AskRunningToActivate() const {
  QLocalSocket socket;
  socket.connectToServer(SocketPath());
  return socket.waitForConnected(kKnockWaitMs);
}

}  // namespace rmt4::ui
