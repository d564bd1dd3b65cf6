#include "platform/named_lock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstdlib>

#include "platform/os_result.h"

namespace rmt4 {

std::filesystem::path DefaultLockDirectory() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  return runtime != nullptr && runtime[0] != '\0' ? std::filesystem::path(runtime) : std::filesystem::path("/tmp");
}

NamedLock::Claim NamedLock::TryClaim() {
  if (descriptor_.Valid()) return Claim::Held;
  // Read-only is enough for flock, and lets a user open a lock file another
  // user created in a shared /tmp. Opening before creating avoids O_CREAT on
  // someone else's file, which protected_regular refuses in sticky folders.
  UniqueFd file(::open(file_.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file.Valid() && errno == ENOENT) file = UniqueFd(::open(file_.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644));
  if (!file.Valid()) {
    problem_ = file_.string() + ": " + OsResult::FromErrno().Text();
    return Claim::Failed;
  }
  if (::flock(file.Get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK) return Claim::Blocked;
    problem_ = file_.string() + ": " + OsResult::FromErrno().Text();
    return Claim::Failed;
  }
  descriptor_ = std::move(file);
  problem_.clear();
  return Claim::Held;
}

}  // namespace rmt4
