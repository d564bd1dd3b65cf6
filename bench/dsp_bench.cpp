// Cost of the EQ curve display's mathematics at a typical editor width.
#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "dsp/filter_response.h"

namespace {

constexpr rmt4::PlotGeometry kPlot{.width = 1100, .height = 245};
constexpr int kPointCount = 15;
// Code 26 is one of the catalogue's four-section cascades, the longest.
constexpr rmt4::CutTypeCode kLongestCut = 26;
constexpr rmt4::CutFilterPoints kCutPoints{.hpfHz = 120, .lpfHz = 18000};

void BM_BandResponse(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(rmt4::BandResponse(7, 400, -30, 1.5, kPlot));
  }
}
BENCHMARK(BM_BandResponse)->Unit(benchmark::kMicrosecond);

void BM_CutResponseLongest(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(rmt4::CutResponse(kLongestCut, kCutPoints, kPlot));
  }
}
BENCHMARK(BM_CutResponseLongest)->Unit(benchmark::kMicrosecond);

/// One drag step of the curve editor: the dragged band's row is recomputed,
/// then the total curve is re-summed over all fifteen rows and truncated.
void BM_DragStep(benchmark::State& state) {
  std::array<std::vector<double>, kPointCount> rows;
  rows[0] = rmt4::CutResponse(kLongestCut, kCutPoints, kPlot);
  rows[1] = rmt4::CutResponse(27, kCutPoints, kPlot);
  for (int point = 2; point < kPointCount; ++point) {
    rows[point] = rmt4::BandResponse(7, 60 * point, 5 * point - 40, 1.5, kPlot);
  }
  std::vector<int> totalCurve(kPlot.width);
  int dragX = 300;
  for (auto _ : state) {
    dragX = dragX == 300 ? 301 : 300;  // the marker moves between steps
    rows[5] = rmt4::BandResponse(7, dragX, -40, 2.0, kPlot);
    for (int column = 0; column < kPlot.width; ++column) {
      double total = 0.0;
      for (const std::vector<double>& row : rows) {
        total += row[column];
      }
      totalCurve[column] = static_cast<int>(total);
    }
    benchmark::DoNotOptimize(totalCurve.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
