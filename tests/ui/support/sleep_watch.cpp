#include "sleep_watch.h"

#include <dlfcn.h>
#include <pthread.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <mutex>

namespace rmt4::test {
namespace {

struct Watched {
  std::thread::id thread;
  std::function<bool()> when;
};

// Shared with every thread of the process, so it outlives any one watch.
std::atomic<bool> watching{false};
std::mutex mutex;
std::vector<Watched> threads;
std::vector<std::string> waits;

/// Called as each of the functions below begins, on the calling thread.
void Note(const char* function) {
  if (!watching.load()) return;
  std::lock_guard lock(mutex);
  const bool watched = std::any_of(threads.begin(), threads.end(), [](const Watched& each) {
    return each.thread == std::this_thread::get_id() && (!each.when || each.when());
  });
  if (watched) waits.emplace_back(function);
}

/// The C library's own `name`, which the definitions below stand in front of.
template <typename Function>
Function* Real(const char* name) {
  return reinterpret_cast<Function*>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

SleepWatch::SleepWatch() { watching.store(true); }

SleepWatch::~SleepWatch() {
  std::lock_guard lock(mutex);
  watching.store(false);
  threads.clear();
  waits.clear();
}

void SleepWatch::Watch(std::thread::id thread, std::function<bool()> when) {
  std::lock_guard lock(mutex);
  threads.push_back(Watched{thread, std::move(when)});
}

std::vector<std::string> SleepWatch::Waits() const {
  std::lock_guard lock(mutex);
  return waits;
}

}  // namespace rmt4::test

// Defined in the test program, these come before the C library's for every
// caller in the process, the shared libraries included.
extern "C" {

int nanosleep(const timespec* duration, timespec* remaining) {
  static auto* const real = rmt4::test::Real<int(const timespec*, timespec*)>("nanosleep");
  rmt4::test::Note("nanosleep");
  return real(duration, remaining);
}

int clock_nanosleep(clockid_t clock, int flags, const timespec* until, timespec* remaining) {
  static auto* const real = rmt4::test::Real<int(clockid_t, int, const timespec*, timespec*)>("clock_nanosleep");
  rmt4::test::Note("clock_nanosleep");
  return real(clock, flags, until, remaining);
}

int usleep(useconds_t duration) {
  static auto* const real = rmt4::test::Real<int(useconds_t)>("usleep");
  rmt4::test::Note("usleep");
  return real(duration);
}

int pthread_cond_timedwait(pthread_cond_t* condition, pthread_mutex_t* mutex, const timespec* until) {
  static auto* const real =
      rmt4::test::Real<int(pthread_cond_t*, pthread_mutex_t*, const timespec*)>("pthread_cond_timedwait");
  rmt4::test::Note("pthread_cond_timedwait");
  return real(condition, mutex, until);
}

int pthread_cond_clockwait(pthread_cond_t* condition, pthread_mutex_t* mutex, clockid_t clock, const timespec* until) {
  static auto* const real =
      rmt4::test::Real<int(pthread_cond_t*, pthread_mutex_t*, clockid_t, const timespec*)>("pthread_cond_clockwait");
  rmt4::test::Note("pthread_cond_clockwait");
  return real(condition, mutex, clock, until);
}

}  // extern "C"
