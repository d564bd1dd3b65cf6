#pragma once

#include <QLocalServer>
#include <QString>

#include <filesystem>
#include <functional>
#include <memory>

#include "platform/named_lock.h"

namespace rmt4::ui {

/// Keeps the program to one running copy per user session: the lock named
/// "RMT-4" in the lock folder, and a local socket beside it through which a
/// second start asks the first to come to the front.
class SingleInstance {
 public:
  enum class Claim { First, AlreadyRunning, Failed };

  explicit SingleInstance(std::filesystem::path folder = DefaultLockDirectory(), QString name = QStringLiteral("RMT-4"));

  [[nodiscard]] Claim TryClaim();
  /// Why a claim failed, for the user.
  [[nodiscard]] QString problem() const { return QString::fromStdString(lock_.Problem()); }

  /// Once claimed: calls `activate` on the window thread whenever a later
  /// start knocks. False when the socket cannot be opened (the program then
  /// runs without that service).
  bool ListenForActivation(std::function<void()> activate);
  /// From a second start: asks the running copy to come to the front.
  bool AskRunningToActivate() const;

 private:
  [[nodiscard]] QString SocketPath() const;

  std::filesystem::path folder_;
  QString name_;
  NamedLock lock_;
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace rmt4::ui
