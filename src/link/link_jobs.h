#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "values/scene_scope.h"

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

/// A scene upload as planned against the console: the file (checked again by
/// the upload) and the writes it makes (see ScenePlan).
struct SceneUploadRequest {
  std::string path;
  std::vector<RequestedEdit> edits;
  /// How many changes (one per name) the writes carry.
  int changes = 0;
};

/// The upload `plan` makes from the scene file at `path`.
[[nodiscard]] inline SceneUploadRequest UploadRequestOf(std::string path, const ScenePlan& plan) {
  return {std::move(path), plan.edits, plan.WrittenChanges()};
}

/// What an upload that reached the console came to, as read back from it.
struct SceneUploadOutcome {
  int changes = 0;
  /// Console value → the scene's, for each change the console does not hold.
  std::vector<SceneChange> unconfirmed;
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

  /// Forgets a planned upload: it was planned for another path.
  void SetScenePath(std::string path) {
    std::lock_guard lock(mutex_);
    scenePath_ = std::move(path);
    upload_ = {};
  }
  [[nodiscard]] std::string ScenePath() const {
    std::lock_guard lock(mutex_);
    return scenePath_;
  }
  /// Sets the scene path too; an upload without one writes nothing.
  void SetSceneUpload(SceneUploadRequest upload) {
    std::lock_guard lock(mutex_);
    scenePath_ = upload.path;
    upload_ = std::move(upload);
  }
  [[nodiscard]] SceneUploadRequest SceneUpload() const {
    std::lock_guard lock(mutex_);
    return upload_;
  }
  /// None from the start of an upload until it read back what it wrote.
  void SetUploadOutcome(std::optional<SceneUploadOutcome> outcome) {
    std::lock_guard lock(mutex_);
    outcome_ = std::move(outcome);
  }
  [[nodiscard]] std::optional<SceneUploadOutcome> UploadOutcome() const {
    std::lock_guard lock(mutex_);
    return outcome_;
  }

 private:
  std::array<std::atomic<int>, kLast + 1> flags_{};
  mutable std::mutex mutex_;
  std::string scenePath_;
  SceneUploadRequest upload_;
  std::optional<SceneUploadOutcome> outcome_;
  std::function<void(LinkJob)> observer_;
};

}  // namespace rmt4
