// Edit-to-wire latency: the time from ParamSet on the user thread to the
// WriteParams frame carrying that value being handed to the TCP socket, with
// the real link worker and network transport against a running console
// (bench/link_bench.sh starts the emulator and sets the RMT4_* variables).
// Each edit is one undo step, and its undo is timed the same way.
//
//   edit_to_wire_bench ADDRESS [EDITS]
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

#include "history/edit_history.h"
#include "lib/headless_link.h"
#include "platform/ipv4_address.h"
#include "protocol/link_frame.h"
#include "link/link_worker.h"
#include "transport/transport_factory.h"

namespace {

using namespace rmt4;
using WallClock = std::chrono::steady_clock;

constexpr ParamAddress kEdited = 136;  // CH3 fader

/// Passes frames through and notes when a write of kEdited leaves.
class TimedTransport final : public LinkTransport {
 public:
  TimedTransport(std::unique_ptr<LinkTransport> inner, std::atomic<std::int64_t>& sentAt)
      : inner_(std::move(inner)), sentAt_(sentAt) {}
  void Connect() override { inner_->Connect(); }
  bool IsConnected() const override { return inner_->IsConnected(); }
  void Close() override { inner_->Close(); }
  bool OnSilence() override { return inner_->OnSilence(); }
  void Send(std::span<const std::uint8_t> frame) override {
    inner_->Send(frame);
    const auto view = CheckFrame(frame);
    if (!view || view->command != static_cast<std::uint8_t>(Command::WriteParams)) return;
    bool carriesEdit = false;
    ForEachParamEntry(view->payload, [&](ParamEntryData entry) { carriesEdit |= entry.address == kEdited; });
    if (carriesEdit) sentAt_.store(WallClock::now().time_since_epoch().count());
  }

 private:
  std::unique_ptr<LinkTransport> inner_;
  std::atomic<std::int64_t>& sentAt_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || !ParseIpv4(argv[1])) {
    std::fprintf(stderr, "usage: edit_to_wire_bench CONSOLE_ADDRESS [EDITS]\n");
    return 2;
  }
  const int edits = argc > 2 ? std::max(1, std::atoi(argv[2])) : 60;
  std::atomic<std::int64_t> sentAt{0};

  bench::QuietOwner owner;
  LinkWorker::Options options;
  const TransportFactory real = MakeTransportFactory(TransportChoice{std::nullopt, ParseIpv4(argv[1])});
  options.makeTransport = [&](ConnectionKind kind, LinkContext& context, FrameSender& sender) {
    return std::make_unique<TimedTransport>(real(kind, context, sender), sentAt);
  };
  options.readConfiguration = [] { return LinkConfiguration{kNetwork, 128000}; };
  LinkWorker worker(owner, std::move(options));
  if (!bench::StartAndReadAll(worker)) {
    std::fprintf(stderr, "no console answered\n");
    return 3;
  }

  // Waits for the write of kEdited that `change` causes, at a random point of the worker's cycle, as a user's do.
  const auto timeToWire = [&](int i, const std::function<void()>& change, std::vector<double>& milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(37 + (i * 29) % 61));
    sentAt.store(0);
    const auto changed = WallClock::now();
    change();
    while (sentAt.load() == 0 && WallClock::now() - changed < std::chrono::seconds(2)) std::this_thread::yield();
    if (sentAt.load() == 0) return;
    const auto sent = WallClock::time_point(WallClock::duration(sentAt.load()));
    milliseconds.push_back(std::chrono::duration<double, std::milli>(sent - changed).count());
  };
  EditHistory history(worker.params());
  std::vector<double> editMs;
  std::vector<double> undoMs;
  for (int i = 0; i < edits; ++i) {
    timeToWire(i, [&] {
      history.BeginStep();
      ParamSet(worker.params(), kEdited, static_cast<std::uint16_t>(100 + i));
      history.EndStep();
    }, editMs);
    timeToWire(i + 1, [&] { history.Undo(true); }, undoMs);
  }
  worker.StopLink();
  if (editMs.empty() || undoMs.empty()) return 1;
  for (auto [what, milliseconds] : {std::pair{"edit to wire", &editMs}, std::pair{"undo to wire", &undoMs}}) {
    std::sort(milliseconds->begin(), milliseconds->end());
    const auto at = [&](double q) { return (*milliseconds)[static_cast<std::size_t>(q * (milliseconds->size() - 1))]; };
    std::printf("%s: %zu, median %.1f ms, 90th percentile %.1f ms, max %.1f ms\n", what, milliseconds->size(), at(0.5),
                at(0.9), milliseconds->back());
  }
  return 0;
}
