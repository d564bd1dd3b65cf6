// What the response-curve editor costs the GUI thread: one drag step of a band
// on a 1112-px-wide curve (mouse move, that band's response, the re-summed
// curve and the immediate repaint), and a full repaint at 1.5× scale, with and
// without recomputing every point's response (as after a resize).
#include <QApplication>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <memory>

#include "ui/controls/response_curve.h"
#include "ui/platform/fonts.h"

namespace rmt4::ui {
namespace {

/// A shown host with one editor filling it, set up like an output channel's.
struct CurveOnHost {
  explicit CurveOnHost(QSize client, double scale) {
    host.resize(client);
    curve = new ResponseCurve(&host);
    curve->scale = scale;
    curve->setGeometry(QRect(QPoint(0, 0), client));
    curve->Initialise();
    for (int band = 0; band < ResponseCurve::kBandCount; ++band) {
      curve->SetBandFrequency(30.0 * (band + 1) * (band + 1) * (band + 1), band);
      curve->SetBandGain(band % 2 == 0 ? 4.5 : -6.0, band);
    }
    curve->SetCutFrequency(40, 0);
    curve->SetCutFrequency(16000, 1);
    curve->SetActive(2);
    host.show();
    QApplication::processEvents();
  }

  QPoint Marker(int point) const {
    return {curve->geometry().plotLeft + curve->pointX[point], curve->geometry().zeroRow + curve->pointY[point]};
  }

  QWidget host;
  ResponseCurve* curve = nullptr;
};

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
  QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

void BM_DragStep(benchmark::State& state) {
  CurveOnHost editor(QSize(1160, 330), 1.0);
  const QPoint start = editor.Marker(6);
  SendMouse(editor.curve, QEvent::MouseButtonPress, start, Qt::LeftButton);
  if (editor.curve->draggedPoint() != 7) state.SkipWithError("band 5 was not grabbed");
  int step = 0;
  for (auto _ : state) {
    // Back and forth across 40 columns and 40 rows, so that every step changes the curve.
    const int offset = step++ % 40;
    SendMouse(editor.curve, QEvent::MouseMove, start + QPoint(offset, offset), Qt::LeftButton);
  }
  SendMouse(editor.curve, QEvent::MouseButtonRelease, start, Qt::NoButton);
  benchmark::DoNotOptimize(editor.curve->totalCurve().data());
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMicrosecond);

/// Arg 0: a repaint of the whole editor. Arg 1: a resize (one row taller or
/// shorter) and the repaint after it: new layers, the grid and all 15 responses.
void BM_FullRepaintScaled(benchmark::State& state) {
  const bool resize = state.range(0) != 0;
  const QSize client(1668, 480);
  CurveOnHost editor(client, 1.5);
  int step = 0;
  for (auto _ : state) {
    if (resize) editor.curve->resize(client + QSize(0, step++ % 2));
    editor.curve->repaint();
  }
}
BENCHMARK(BM_FullRepaintScaled)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace rmt4::ui

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  rmt4::ui::InstallFontSubstitutes();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
