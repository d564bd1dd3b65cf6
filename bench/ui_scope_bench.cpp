// What the response-curve editor costs the GUI thread: one drag step of a band
// on a 1112-px-wide curve (mouse move, that band's response, the re-summed
// curve and the immediate repaint), and a full repaint at 1.5× scale, with and
// without recomputing every point's response (as after a resize).
#include <QApplication>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <memory>

#include "ui/controls/qel_new_scope.h"
#include "ui/platform/fonts.h"

namespace rmt4::ui {
namespace {

/// A shown host with one editor filling it, set up like an output channel's.
struct ScopeOnHost {
  explicit ScopeOnHost(QSize client, double scale) {
    host.resize(client);
    scope = new CQel_NewScope(&host);
    scope->scale = scale;
    scope->setGeometry(QRect(QPoint(0, 0), client));
    scope->Initialise();
    for (int band = 0; band < CQel_NewScope::kBandCount; ++band) {
      scope->SetBandFrequency(30.0 * (band + 1) * (band + 1) * (band + 1), band);
      scope->SetBandGain(band % 2 == 0 ? 4.5 : -6.0, band);
    }
    scope->SetCutFrequency(40, 0);
    scope->SetCutFrequency(16000, 1);
    scope->SetActive(2);
    host.show();
    QApplication::processEvents();
  }

  QPoint Marker(int point) const {
    return {scope->geometry().plotLeft + scope->pointX[point], scope->geometry().zeroRow + scope->pointY[point]};
  }

  QWidget host;
  CQel_NewScope* scope = nullptr;
};

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
  QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

void BM_DragStep(benchmark::State& state) {
  ScopeOnHost editor(QSize(1160, 330), 1.0);
  const QPoint start = editor.Marker(6);
  SendMouse(editor.scope, QEvent::MouseButtonPress, start, Qt::LeftButton);
  if (editor.scope->draggedPoint() != 7) state.SkipWithError("band 5 was not grabbed");
  int step = 0;
  for (auto _ : state) {
    // Back and forth across 40 columns and 40 rows, so that every step changes the curve.
    const int offset = step++ % 40;
    SendMouse(editor.scope, QEvent::MouseMove, start + QPoint(offset, offset), Qt::LeftButton);
  }
  SendMouse(editor.scope, QEvent::MouseButtonRelease, start, Qt::NoButton);
  benchmark::DoNotOptimize(editor.scope->totalCurve().data());
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMicrosecond);

/// Arg 0: a repaint of the whole editor. Arg 1: a resize (one row taller or
/// shorter) and the repaint after it: new layers, the grid and all 15 responses.
void BM_FullRepaintScaled(benchmark::State& state) {
  const bool resize = state.range(0) != 0;
  const QSize client(1668, 480);
  ScopeOnHost editor(client, 1.5);
  int step = 0;
  for (auto _ : state) {
    if (resize) editor.scope->resize(client + QSize(0, step++ % 2));
    editor.scope->repaint();
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
