// What the channel editor costs: opening a channel (SelectChannel loads the
// input editor and the curve, then the frame repaints), one step of a curve
// drag until its writes are in the parameter table, and the CPU the whole
// program uses while connected with the editor open (meters polled, the
// curve's markers pulsing). The main window runs offscreen against the
// emulator's console logic in this process.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <utility>

#include "connected_main_window.h"
#include "lib/paint_counter.h"
#include "ui/controls/response_curve.h"
#include "ui/platform/fonts.h"
#include "ui/platform/window_message.h"
#include "values/editor_addresses.h"
#include "values/editor_codes.h"

namespace rmt4::ui {
namespace {

using bench::PaintCounter;

constexpr int kRepetitions = 5;
constexpr int kIdleRuns = 3;
constexpr int kIdleSeconds = 10;
constexpr int kSettleMs = 300;
constexpr int kCh1 = 0;
constexpr int kCh2 = 1;
constexpr int kBand3Point = ResponseCurve::kFirstBandPoint + 2;

// CH2 differs from CH1 in every section, so that opening one after the other moves every control.
constexpr std::pair<int, int> kOtherChannel[] = {
    {0, 0x8000 + 800}, {32, 560},  {1, 400},    {33, 470},    {2, 2500},         {34, 530},   {3, 8000}, {35, 440},
    {16, 70},          {17, 140},  {18, 100},   {19, 200},    {70, 300},         {71, 100},   {72, 800}, {73, 40},
    {58, 120},         {59, 48},   {60, 80},    {50, 10},     {53, 11},          {49, 0x8000 + 800},     {52, 12000},
    {62, 1200},        {63, 900},  {64, 0x84B0}, {65, 1100},  {66, 0x8000 + 600}, {48, 0},
};

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double ProcessCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

/// Runs the event loop for `ms`, sleeping while nothing is due (a pumping loop would spin).
void Settle(int ms = kSettleMs) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

/// Alternates between CH1 and CH2, each a full load of panel and curve followed by a repaint of the frame.
void BM_OpenEditor(benchmark::State& state, test::ConnectedMainWindow& connected) {
  ChannelEditorFrame& frame = connected.frame();
  PaintCounter paints;
  int channel = kCh1;
  double cpuSeconds = 0;
  for (auto _ : state) {
    channel = channel == kCh1 ? kCh2 : kCh1;
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ThreadCpuSeconds();
    frame.SelectChannel(channel);
    frame.repaint();
    cpuSeconds += ThreadCpuSeconds() - cpuStart;
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    state.PauseTiming();
    QCoreApplication::processEvents();  // what the load posted (texts, late paints), untimed
    state.ResumeTiming();
  }
  if (connected.inputEditor().channel() != channel) state.SkipWithError("the editor did not follow SelectChannel");
  state.counters["paints"] = benchmark::Counter(paints.Take(), benchmark::Counter::kAvgIterations);
  state.counters["gui_cpu_ms"] = benchmark::Counter(cpuSeconds * 1e3, benchmark::Counter::kAvgIterations);
}

void SendMouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &event);
}

/// Band 3 dragged back and forth on the curve; each step runs until the
/// frame has handled the edits it posted (the three ParamSet calls).
void BM_CurveDragStep(benchmark::State& state, test::ConnectedMainWindow& connected) {
  ChannelEditorFrame& frame = connected.frame();
  frame.SelectChannel(kCh1);
  Settle();
  ResponseCurve& curve = frame.curve();
  const CurveGeometry& plot = curve.geometry();
  const QPoint marker(plot.plotLeft + curve.pointX[kBand3Point], plot.zeroRow + curve.pointY[kBand3Point]);
  const ParamAddress gainAddress = EditorCodeAddresses(kCh1, editor_code::kBandGain + 2).front();
  SendMouse(curve, QEvent::MouseButtonPress, marker, Qt::LeftButton, Qt::LeftButton);
  QCoreApplication::sendPostedEvents();
  int step = 0;
  int written = 0;
  for (auto _ : state) {
    const QPoint to = marker + (step++ % 2 == 0 ? QPoint(40, -30) : QPoint(-40, 20));
    const std::uint16_t before = connected.params().Value(gainAddress);
    SendMouse(curve, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(&frame, kControlEdited);
    written += connected.params().Value(gainAddress) != before ? 1 : 0;
  }
  SendMouse(curve, QEvent::MouseButtonRelease, marker, Qt::LeftButton, Qt::NoButton);
  QCoreApplication::processEvents();
  if (written == 0) state.SkipWithError("the drag wrote nothing");
  state.counters["steps_written"] = benchmark::Counter(written, benchmark::Counter::kAvgIterations);
}

/// The program's CPU (every thread: GUI, link worker and the console logic it
/// drives) while the event loop runs with the editor open and nothing edited.
void BM_IdleWithEditorOpen(benchmark::State& state, test::ConnectedMainWindow& connected) {
  connected.frame().SelectChannel(kCh1);
  Settle();
  for (auto _ : state) {
    const double cpuStart = ProcessCpuSeconds();
    const double guiStart = ThreadCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    Settle(kIdleSeconds * 1000);
    const double seconds = static_cast<double>(wall.nsecsElapsed()) * 1e-9;
    state.counters["cpu_percent_of_one_core"] = 100.0 * (ProcessCpuSeconds() - cpuStart) / seconds;
    state.counters["gui_thread_percent"] = 100.0 * (ThreadCpuSeconds() - guiStart) / seconds;
    state.counters["curve_animating"] = connected.frame().curve().animating() ? 1 : 0;
  }
}

void Register(test::ConnectedMainWindow& connected) {
  benchmark::RegisterBenchmark("OpenEditor/CH1_CH2_alternately",
                               [&connected](benchmark::State& state) { BM_OpenEditor(state, connected); })
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond)
      ->Repetitions(kRepetitions);
  benchmark::RegisterBenchmark("CurveDragStep/band3_to_ParamSet",
                               [&connected](benchmark::State& state) { BM_CurveDragStep(state, connected); })
      ->Unit(benchmark::kMicrosecond)
      ->Repetitions(kRepetitions);
  benchmark::RegisterBenchmark("IdleWithEditorOpen/10s",
                               [&connected](benchmark::State& state) { BM_IdleWithEditorOpen(state, connected); })
      ->Iterations(1)
      ->Repetitions(kIdleRuns)
      ->Unit(benchmark::kSecond);
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
  if (!connected.WaitForCompleteRead()) {
    std::fprintf(stderr, "ui_editor_bench: the complete read against the emulated console did not end\n");
    return 1;
  }
  for (const auto& [code, raw] : rmt4::ui::kOtherChannel) {
    for (const rmt4::ParamAddress address : rmt4::EditorCodeAddresses(rmt4::ui::kCh2, code)) {
      connected.params()[address].Store(static_cast<std::uint16_t>(raw));
    }
  }
  connected.OpenFromStrip(rmt4::ui::kCh1);
  rmt4::ui::Settle();
  rmt4::ui::Register(connected);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
