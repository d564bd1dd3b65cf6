#include "files/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <random>
#include <system_error>

namespace rmt4 {
namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  int get() const { return fd_; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

}  // namespace

BoundedRead ReadFileBounded(const std::filesystem::path& path, std::size_t maxBytes) {
  BoundedRead result;
  if (path.empty()) {
    result.status = ReadStatus::kMissing;
    return result;
  }
  // O_NONBLOCK: opening a FIFO must not wait for a writer.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (fd.get() < 0) {
    result.status = (errno == ENOENT || errno == ENOTDIR) ? ReadStatus::kMissing
                                                          : ReadStatus::kNotReadable;
    return result;
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    result.status = ReadStatus::kNotReadable;
    return result;
  }
  if (info.st_size < 0 || static_cast<unsigned long long>(info.st_size) > maxBytes) {
    result.status = ReadStatus::kTooLarge;
    return result;
  }
  const std::size_t limit = maxBytes + 1;  // one more byte reveals a file that grew
  std::string bytes;
  bytes.resize(std::min<std::size_t>(static_cast<std::size_t>(info.st_size) + 1, limit));
  std::size_t used = 0;
  for (;;) {
    if (used == bytes.size()) {
      if (bytes.size() >= limit) {
        break;
      }
      bytes.resize(std::min(limit, bytes.size() * 2 + 64));
    }
    const ssize_t got = ::read(fd.get(), bytes.data() + used, bytes.size() - used);
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      result.status = ReadStatus::kError;
      return result;
    }
    if (got == 0) {
      break;
    }
    used += static_cast<std::size_t>(got);
  }
  if (used > maxBytes) {
    result.status = ReadStatus::kTooLarge;
    return result;
  }
  bytes.resize(used);
  result.status = ReadStatus::kOk;
  result.bytes = std::move(bytes);
  return result;
}

bool PathExists(const std::filesystem::path& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

bool EnsureDirectory(const std::filesystem::path& directory) {
  if (directory.empty()) {
    return false;
  }
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  return std::filesystem::is_directory(directory, error);
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view contents) {
  if (path.empty()) {
    return false;
  }
  std::error_code error;
  std::filesystem::path target = path;
  if (std::filesystem::is_symlink(path, error)) {
    target = std::filesystem::canonical(path, error);
    if (error) {
      return false;  // a dangling link: nothing sensible to replace
    }
  }
  struct stat old {};
  const bool hadFile = ::stat(target.c_str(), &old) == 0;
  if (hadFile && !S_ISREG(old.st_mode)) {
    return false;
  }

  static std::atomic<unsigned> counter{0};
  static thread_local std::minstd_rand suffixSource{std::random_device{}()};
  std::filesystem::path temporary;
  int rawFd = -1;
  for (int attempt = 0; attempt < 16 && rawFd < 0; ++attempt) {
    temporary = target;
    temporary += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
                 std::to_string(suffixSource());
    rawFd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (rawFd < 0 && errno != EEXIST) {
      return false;
    }
  }
  if (rawFd < 0) {
    return false;
  }
  FileDescriptor fd(rawFd);
  bool ok = true;
  if (hadFile) {
    ok = ::fchmod(fd.get(), old.st_mode & 07777) == 0;
  }
  ok = ok && WriteAll(fd.get(), contents) && ::fsync(fd.get()) == 0;
  ok = (::close(fd.release()) == 0) && ok;
  ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temporary.c_str());
  }
  return ok;
}

}  // namespace rmt4
