#include "watchdog.h"

#include <cstdlib>
#include <iostream>

namespace rmt4::faults {

Watchdog::Watchdog(std::chrono::milliseconds limit) : limit_(limit), thread_([this] { Watch(); }) {}

Watchdog::~Watchdog() {
  {
    std::lock_guard lock(mutex_);
    ending_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void Watchdog::Arm(std::string what) {
  {
    std::lock_guard lock(mutex_);
    deadline_ = std::chrono::steady_clock::now() + limit_;
    what_ = std::move(what);
  }
  changed_.notify_all();
}

void Watchdog::Disarm() {
  {
    std::lock_guard lock(mutex_);
    deadline_.reset();
  }
  changed_.notify_all();
}

void Watchdog::Watch() {
  std::unique_lock lock(mutex_);
  while (!ending_) {
    if (!deadline_) {
      changed_.wait(lock);
    } else if (changed_.wait_until(lock, *deadline_) == std::cv_status::timeout && deadline_ &&
               std::chrono::steady_clock::now() >= *deadline_) {
      std::cerr << "link_faults: hang: " << what_ << " did not end within " << limit_.count() << " ms" << std::endl;
      std::abort();
    }
  }
}

}  // namespace rmt4::faults
