#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>

namespace rmt4 {

/// Compound operations that windows request and the link worker carries out
/// on its own thread, one per cycle, in number order.
enum class LinkJob : int {
  SaveScene = 1,
  UploadScene = 2,
  RecallMode = 4,
  StoreModeName = 13,
  StoreMode = 15,
  RecallFxPreset1 = 16,
  RecallFxPreset2 = 17,
  StoreFxPreset1 = 18,
  StoreFxPreset2 = 19,
};

/// The request flags, indexed 1..20, and the scene path the scene jobs use.
class LinkJobs {
 public:
  static constexpr int kFirst = 1;
  static constexpr int kLast = 20;

  /// Raised by a window after it prepared the job's data.
  void Request(LinkJob job) {
    if (observer_) observer_(job);
    flags_[static_cast<std::size_t>(job)].store(1);
  }
  /// Told of each request before the worker can see it, on the requesting
  /// thread (the undo history takes its snapshot); set before the link starts.
  void SetRequestObserver(std::function<void(LinkJob)> observer) { observer_ = std::move(observer); }
  [[nodiscard]] bool Requested(int index) const { return flags_[static_cast<std::size_t>(index)].load() > 0; }
  /// Clears a request; true when it was raised.
  bool Take(int index) { return flags_[static_cast<std::size_t>(index)].exchange(0) > 0; }

  void SetScenePath(std::string path) {
    std::lock_guard lock(mutex_);
    scenePath_ = std::move(path);
  }
  [[nodiscard]] std::string ScenePath() const {
    std::lock_guard lock(mutex_);
    return scenePath_;
  }

 private:
  std::array<std::atomic<int>, kLast + 1> flags_{};
  mutable std::mutex mutex_;
  std::string scenePath_;
  std::function<void(LinkJob)> observer_;
};

}  // namespace rmt4
