#include "dsp/filter_response.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>

#include "dsp/section_design.h"
#include "dsp/section_magnitude.h"

namespace rmt4 {

namespace {

/// Lowest frequency at which a cut filter is on.
constexpr double kCutOnMinHz = 19.7;
/// Limit of an EQ band's gain in tenths of a dB.
constexpr double kMaxBandGainTenths = 1200.0;

bool HasRow(const PlotGeometry& plot) {
  return plot.width >= 1 && plot.width <= kMaxPlotWidth;
}

std::vector<double> FlatRowFor(const PlotGeometry& plot) {
  return HasRow(plot) ? std::vector<double>(static_cast<std::size_t>(plot.width), 0.0)
                      : std::vector<double>{};
}

/// Fills row with the cascade's summed response in pixel offsets.
void EvaluateCascade(std::span<const Section> sections, const PlotGeometry& plot,
                     std::vector<double>& row) {
  for (std::size_t column = 0; column < row.size(); ++column) {
    const UnitPhasor at =
        PhasorAt(AngularFrequency(FrequencyAtColumn(static_cast<double>(column), plot.width)));
    double db = 0.0;
    for (const Section& section : sections) {
      db += SectionMagnitudeDb(section, at);
    }
    row[column] = PixelOffsetOfDb(db, plot);
  }
}

bool IsCutOn(CutSide side, const CutFilterPoints& points) {
  if (side == CutSide::HighPass) {
    return points.hpfHz >= kCutOnMinHz && points.hpfHz <= points.hpfMaxHz;
  }
  return points.lpfHz >= kCutOnMinHz && points.lpfHz < points.lpfMaxHz;
}

Section DesignCutSection(const SectionRecipe& recipe, const CutFilterPoints& points) {
  switch (recipe.shape) {
    case SectionShape::HighPass1: return DesignHighPass1(points.hpfHz);
    case SectionShape::LowPass1: return DesignLowPass1(points.lpfHz);
    case SectionShape::HighPass2: return DesignHighPass2(points.hpfHz, std::sqrt(recipe.k));
    case SectionShape::LowPass2: return DesignLowPass2(points.lpfHz, std::sqrt(recipe.k));
    case SectionShape::HighPassPointQ: return DesignHighPass2(points.hpfHz, points.hpfQ);
    case SectionShape::LowPassPointQ: return DesignLowPass2(points.lpfHz, points.lpfQ);
  }
  return Section{};
}

Section DesignBand(int type, double hz, double q, double amplitude) {
  if (type == kHighShelfBand) {
    return DesignHighShelf(hz, q, amplitude);
  }
  if (type == kLowShelfBand) {
    return DesignLowShelf(hz, q, amplitude);
  }
  return DesignPeaking(hz, q, amplitude);
}

}  // namespace

std::vector<double> CutResponse(CutTypeCode code, const CutFilterPoints& points,
                                const PlotGeometry& plot) {
  std::vector<double> row = FlatRowFor(plot);
  const std::optional<CutFilterType> type = FindCutFilterType(code);
  if (row.empty() || !type || !IsCutOn(type->side, points)) {
    return row;
  }
  std::array<Section, kMaxCutSections> sections{};
  const std::span<const SectionRecipe> recipes = type->Sections();
  std::ranges::transform(recipes, sections.begin(), [&points](const SectionRecipe& recipe) {
    return DesignCutSection(recipe, points);
  });
  EvaluateCascade(std::span<const Section>(sections.data(), recipes.size()), plot, row);
  return row;
}

std::vector<double> BandResponse(int type, int x, int y, double q, const PlotGeometry& plot) {
  std::vector<double> row = FlatRowFor(plot);
  if (row.empty() || plot.height < 2) {
    return row;
  }
  // The marker's offset in pixels back to a cut in tenths of a dB; the scale
  // uses H - 1 rows while the output uses H, as the console's display does.
  const double axisSpan = static_cast<double>(plot.dbMax) - plot.dbMin;
  const double cutTenths = std::clamp(std::trunc(y * axisSpan / (plot.height - 1)),
                                      -kMaxBandGainTenths, kMaxBandGainTenths);
  const double amplitude = std::pow(10.0, cutTenths / -400.0);
  const Section band = DesignBand(type, FrequencyAtColumn(x, plot.width), q, amplitude);
  EvaluateCascade(std::span<const Section>(&band, 1), plot, row);
  return row;
}

}  // namespace rmt4
