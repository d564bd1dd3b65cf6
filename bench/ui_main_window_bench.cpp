// What the main window costs the GUI thread: a full refresh (every shown
// address notified, as after "Main Win" or a complete read) and one repaint of
// the whole window at 1920 × 1080. The window runs offscreen and connected to
// the emulator's console logic in this process, meters polled as usual.
#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "connected_main_window.h"
#include "lib/paint_counter.h"
#include "ui/main/input_strip.h"
#include "ui/main/main_window.h"
#include "ui/main/output_strip.h"
#include "ui/main/strip_bank.h"
#include "ui/platform/fonts.h"
#include "ui/platform/window_message.h"

namespace rmt4::ui {
namespace {

using bench::PaintCounter;

// The worker posts addresses 1..1213 after "Main Win" (never address 0).
constexpr ParamAddress kFirstNotified = 1;
constexpr ParamAddress kLastNotified = 1213;
constexpr int kCompleteReadLimitMs = 20000;
constexpr int kSettleMs = 300;
constexpr int kRepetitions = 5;
constexpr QSize kFullHd(1920, 1080);
// Strip codes with a control behind them (ENTER has none; Bus is no value).
constexpr StripCode kShownCodes[] = {StripCode::Mute, StripCode::Pfl,  StripCode::Phantom48V, StripCode::Left,
                                     StripCode::Right, StripCode::Pan, StripCode::Fader};

using test::ConnectedMainWindow;

/// Runs the event loop for a while, so layouts and paints that are due happen.
void Settle() { (void)test::PumpUntil([] { return false; }, kSettleMs); }

/// Resizes the window and lets the layout and the first paint happen.
[[nodiscard]] bool ResizeTo(ConnectedMainWindow& connected, QSize size) {
  connected.window().resize(size);
  Settle();
  return connected.window().size() == size;
}

/// CPU time of the calling thread: with other programs busy on the machine,
/// wall time alone would mix in the time this thread waited for a core.
double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

using TableValues = std::vector<std::uint16_t>;

TableValues ValuesOf(const ParamTable& table) {
  TableValues values(kParamCount);
  for (ParamAddress a = 0; a < kParamCount; ++a) values[a] = table.Value(a);
  return values;
}

void LoadValues(ParamTable& table, const TableValues& values) {
  for (ParamAddress a = 0; a < kParamCount; ++a) table[a].Store(values[a]);
}

/// Every strip's reading of every control, in one list.
std::vector<int> Readings(const StripBank& strips) {
  std::vector<int> readings;
  for (int i = 0; i < kInputStripCount; ++i) {
    for (const StripCode code : kShownCodes) readings.push_back(strips.inputStrip(i).ReadControl(code));
  }
  for (const StripCode code : kShownCodes) readings.push_back(strips.outputStrip().ReadControl(code));
  return readings;
}

/// A reading the control does not show now: the other button state, the
/// other pan side, a fader far away.
int OppositeReading(StripCode code, int reading) {
  switch (code) {
    case StripCode::Mute:
    case StripCode::Phantom48V:
      return reading == 0 ? 1 : 0;
    case StripCode::Pfl:
    case StripCode::Left:
    case StripCode::Right:
      return reading == 0 ? kRoutedLevel : 0;
    case StripCode::Pan:
      return reading < 100 ? 200 : 0;
    case StripCode::Fader:
      return reading >= 800 ? 0 : 1200;
    default:
      return reading;
  }
}

/// The table's values with every strip control moved to another position,
/// written through the strips' own parameter mapping so that they stay values
/// the console could hold.
TableValues MovedValues(const ParamTable& table, const StripBank& strips) {
  ParamTable moved;
  LoadValues(moved, ValuesOf(table));
  for (int i = 0; i < kInputStripCount; ++i) {
    for (const StripCode code : kShownCodes) {
      WriteInputStripEdit(moved, i, code, OppositeReading(code, strips.inputStrip(i).ReadControl(code)));
    }
  }
  for (const StripCode code : kShownCodes) {
    WriteOutputStripEdit(moved, strips.OutputBus(), code,
                         OppositeReading(code, strips.outputStrip().ReadControl(code)));
  }
  return ValuesOf(moved);
}

void PostFullRefresh(MainWindow& window) {
  for (ParamAddress a = kFirstNotified; a <= kLastNotified; ++a) {
    PostWindowMessage(&window, kUiNotify, static_cast<int>(UiNotify::ValueArrived), a);
  }
}

/// Handles what is queued (the notifications) and then what they caused (the
/// repaint requests they post), as the event loop would.
void HandleQueuedEvents() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
}

/// Puts `values` in the table and shows them through a full refresh.
void ShowValues(MainWindow& window, ParamTable& params, const TableValues& values) {
  LoadValues(params, values);
  PostFullRefresh(window);
  HandleQueuedEvents();
}

/// How many strip controls read differently with `moved` shown than with `values`.
int CountMovedControls(MainWindow& window, ParamTable& params, const TableValues& values, const TableValues& moved) {
  ShowValues(window, params, moved);
  const std::vector<int> after = Readings(window.strips());
  ShowValues(window, params, values);
  const std::vector<int> before = Readings(window.strips());
  int count = 0;
  for (std::size_t i = 0; i < before.size(); ++i) count += before[i] != after[i] ? 1 : 0;
  return count;
}

/// The table holds the console's values; `moveEveryControl` makes each round
/// alternate between them and a state in which every strip control shows
/// something else, so that every control redraws. Without it the values are
/// the ones already shown, as after "Main Win" with nothing changed.
void BM_FullRefresh(benchmark::State& state, ConnectedMainWindow& connected, QSize size, bool moveEveryControl) {
  if (!ResizeTo(connected, size)) {
    state.SkipWithError("the window did not take the size");
    return;
  }
  MainWindow& window = connected.window();
  ParamTable& params = connected.params();
  const TableValues console = ValuesOf(params);
  std::vector<TableValues> rounds{console};
  if (moveEveryControl) {
    rounds.push_back(MovedValues(params, window.strips()));
    // The moved state must really move the controls, or this measures nothing.
    const int moved = CountMovedControls(window, params, console, rounds.back());
    if (moved == 0) {
      state.SkipWithError("the moved state moves no control");
      return;
    }
    state.counters["controls_moved"] = moved;
  }

  PaintCounter paints;
  QCoreApplication::processEvents();
  std::size_t round = 0;
  int timedPaints = 0;
  int latePaints = 0;
  double cpuSeconds = 0;
  for (auto _ : state) {
    LoadValues(params, rounds[round++ % rounds.size()]);
    QCoreApplication::processEvents();  // the previous round's leftovers and the meters, untimed
    latePaints += paints.Take();
    PostFullRefresh(window);
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ThreadCpuSeconds();
    HandleQueuedEvents();
    cpuSeconds += ThreadCpuSeconds() - cpuStart;
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    timedPaints += paints.Take();
  }
  ShowValues(window, params, console);
  state.counters["paints"] = benchmark::Counter(timedPaints, benchmark::Counter::kAvgIterations);
  state.counters["late_paints"] = benchmark::Counter(latePaints, benchmark::Counter::kAvgIterations);
  state.counters["gui_cpu_ms"] = benchmark::Counter(cpuSeconds * 1e3, benchmark::Counter::kAvgIterations);
}

/// One synchronous repaint() of the whole window once the layout has settled.
/// Qt keeps the pixels of opaque children in the window's backing store, so
/// only the window's own background is painted again (the paints counter
/// shows 1): this is what an invalidated window costs, not a full redraw.
void BM_WindowRepaint(benchmark::State& state, ConnectedMainWindow& connected) {
  if (!ResizeTo(connected, kFullHd)) {
    state.SkipWithError("the window did not take the size");
    return;
  }
  PaintCounter paints;
  for (auto _ : state) connected.window().repaint();
  state.counters["paints"] = benchmark::Counter(paints.Take(), benchmark::Counter::kAvgIterations);
}

/// The window painted into an image of the window's size: with `children`
/// the whole window drawn from scratch (each control paints its cached
/// picture), without them only the window's own background, to tell the two
/// costs apart.
void BM_WindowRender(benchmark::State& state, ConnectedMainWindow& connected, bool children) {
  if (!ResizeTo(connected, kFullHd)) {
    state.SkipWithError("the window did not take the size");
    return;
  }
  QImage image(kFullHd, QImage::Format_ARGB32_Premultiplied);
  const QWidget::RenderFlags flags = children ? QWidget::DrawChildren : QWidget::RenderFlags();
  PaintCounter paints;
  for (auto _ : state) {
    connected.window().render(&image, QPoint(), QRegion(), flags);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["paints"] = benchmark::Counter(paints.Take(), benchmark::Counter::kAvgIterations);
}

std::string SizeName(QSize size) { return std::to_string(size.width()) + "x" + std::to_string(size.height()); }

void RegisterBenchmarks(ConnectedMainWindow& connected) {
  const QSize reference = connected.window().referenceSize();
  for (const QSize size : {reference, kFullHd}) {
    for (const bool move : {false, true}) {
      const std::string name = std::string("FullRefresh/") + (move ? "every_control_moved/" : "values_unchanged/") +
                               SizeName(size);
      benchmark::RegisterBenchmark(name.c_str(), [&connected, size, move](benchmark::State& state) {
        BM_FullRefresh(state, connected, size, move);
      })
          ->UseManualTime()
          ->Unit(benchmark::kMillisecond)
          ->Repetitions(kRepetitions);
    }
  }
  benchmark::RegisterBenchmark(("WindowRepaint/" + SizeName(kFullHd)).c_str(),
                               [&connected](benchmark::State& state) { BM_WindowRepaint(state, connected); })
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond)
      ->Repetitions(kRepetitions);
  for (const bool children : {true, false}) {
    const std::string name = "WindowRender/" + SizeName(kFullHd) + (children ? "/with_children" : "/window_only");
    benchmark::RegisterBenchmark(name.c_str(), [&connected, children](benchmark::State& state) {
      BM_WindowRender(state, connected, children);
    })
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(kRepetitions);
  }
}

}  // namespace
}  // namespace rmt4::ui

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  rmt4::ui::InstallFontSubstitutes();

  rmt4::test::ConnectedMainWindow connected;
  if (!connected.WaitForCompleteRead(rmt4::ui::kCompleteReadLimitMs)) {
    std::fprintf(stderr, "ui_main_window_bench: the complete read against the emulated console did not end\n");
    return 1;
  }
  rmt4::ui::Settle();
  rmt4::ui::RegisterBenchmarks(connected);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
