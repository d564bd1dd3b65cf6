#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "emulator/console_responder.h"
#include "in_process_console.h"
#include "link/link_worker.h"
#include "link/scene_upload.h"
#include "protocol/recording_link_owner.h"
#include "support/eventually.h"
#include "support/virtual_clock.h"

namespace rmt4::test {

/// The connection kind as test names show it.
inline std::string KindName(ConnectionKind kind) {
  switch (kind) {
    case kUsbHid:
      return "UsbHid";
    case kNetwork:
      return "Network";
    case kSerialLongTiming:
      return "SerialLongTiming";
    default:
      return "Serial";
  }
}

/// A link worker connected to an emulated console in the same process.
class LinkFixture : public ::testing::Test {
 protected:
  explicit LinkFixture(emulator::ConsoleSettings settings = {}) : console_(settings) {
    // Parameterised tests are named "Name/N": one folder, not a folder in a folder left behind.
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '-');
    folder_ = std::filesystem::temp_directory_path() / ("rmt4-link-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  ~LinkFixture() override {
    worker_.reset();
    std::filesystem::remove_all(folder_);
  }

  void Start(ConnectionKind kind = kUsbHid) {
    LinkWorker::Options options;
    options.makeTransport = [this](ConnectionKind, LinkContext& context, FrameSender&) {
      auto transport = std::make_unique<InProcessConsole>(context, console_);
      transport_.store(transport.get());
      return transport;
    };
    options.readConfiguration = [kind] { return LinkConfiguration{kind, 128000}; };
    options.sceneFolders = AppFolders{folder_ / "scenes", folder_ / "fallback"};
    options.clock = linkClock_;
    if (adjustOptions_) adjustOptions_(options);
    worker_ = std::make_unique<LinkWorker>(owner_, std::move(options));
    worker_->StartLink();
  }

  /// Started, through the complete read and the mode names, and polling:
  /// the worker is in its steady loop.
  void StartConnected(ConnectionKind kind = kUsbHid) {
    Start(kind);
    ASSERT_TRUE(owner_.WaitUntil([](const RecordingLinkOwner& o) { return o.NotifiedLocked(UiNotify::RefreshFinished, 0); }))
        << "no complete read";
    ASSERT_TRUE(Eventually([&] { return worker_->SyncCount() >= 1; })) << "no steady loop";
  }

  ParamTable& Params() { return worker_->params(); }

  /// The whole scene at `path` planned against the mirror, without scope or safes, and requested.
  void RequestSceneUpload(const std::string& path) {
    const auto plan = PlanSceneFileUpload(AppFolders{folder_ / "scenes", folder_ / "fallback"}, path, Params(), {}, {});
    worker_->jobs().SetSceneUpload(plan ? UploadRequestOf(path, *plan) : SceneUploadRequest{path, {}, 0});
    worker_->jobs().Request(LinkJob::UploadScene);
  }

  /// Changes the worker's options before Start makes it.
  std::function<void(LinkWorker::Options&)> adjustOptions_;
  /// Simulated unless a test needs the link to take real time.
  VirtualClock virtualClock_;
  Clock* linkClock_ = &virtualClock_;
  emulator::ConsoleResponder console_;
  RecordingLinkOwner owner_;
  std::unique_ptr<LinkWorker> worker_;
  /// Made on the worker thread.
  std::atomic<InProcessConsole*> transport_{nullptr};
  InProcessConsole& Console() { return *transport_.load(); }
  std::filesystem::path folder_;
};

}  // namespace rmt4::test
