#include "platform/os_result.h"

#include <cerrno>
#include <system_error>

namespace rmt4 {

OsResult OsResult::FromErrno() { return OsResult(errno != 0 ? errno : EIO); }

std::string OsResult::Text() const { return ok() ? std::string() : std::system_category().message(error_); }

}  // namespace rmt4
