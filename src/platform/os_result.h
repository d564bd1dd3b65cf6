#pragma once

#include <string>

namespace rmt4 {

/// What an operating-system call left behind: success, or the error number
/// (errno) that says why it failed. The one way the core hands OS failures on.
class OsResult {
 public:
  /// Success.
  constexpr OsResult() = default;
  constexpr explicit OsResult(int error) : error_(error) {}
  /// The errno the failed call just left (EIO should a call fail without setting it).
  [[nodiscard]] static OsResult FromErrno();

  [[nodiscard]] constexpr bool ok() const { return error_ == 0; }
  [[nodiscard]] constexpr int error() const { return error_; }
  /// The system's words for it ("No such file or directory"); empty on success.
  [[nodiscard]] std::string Text() const;

  constexpr bool operator==(const OsResult&) const = default;

 private:
  int error_ = 0;
};

}  // namespace rmt4
