#include "ui/editors/output_editor.h"

#include "ui/editors/output_editor_inventory.h"
#include "values/editor_codes.h"

namespace rmt4::ui {
namespace {

// Panel 1 (x 0..1687): EQ, filters, delays; panel 2 (1687..1919): compressor.
const std::vector<BackgroundSlice> kBackgroundSlices{
    {0, 1, 200},    {200, 10, 200},  {400, 10, 200},  {600, 10, 200},  {800, 10, 200}, {1000, 10, 200},
    {1200, 10, 200}, {1400, 10, 200}, {1600, 10, 200}, {1600, 147, 87}, {1687, 2, 233},
};

constexpr EditorInventory kInventory{kOutputEditorLabels, kOutputEditorButtons, kOutputEditorCombos,
                                     kOutputEditorSliders, kOutputBandCount,    output_code::kThreshold};

}  // namespace

OutputEditor::OutputEditor(QWidget* parent, int channel)
    : ScrollingEditor(parent, kContentSize, kBackgroundSlices, kInventory) {
  channel_ = channel;
  Initialise();
}

void OutputEditor::SetChannel(int channel) { channel_ = channel; }

std::vector<int> OutputEditor::LoadOrder() const {
  std::vector<int> order;
  for (int band = 0; band < kOutputBandCount; ++band) {
    order.insert(order.end(),
                 {editor_code::kBandFrequency + band, editor_code::kBandQ + band, editor_code::kBandGain + band});
  }
  order.insert(order.end(),
               {output_code::kThreshold, output_code::kAttack, output_code::kRelease, output_code::kRatio});
  const bool main = channel_ == kMainChannel;
  if (main) {
    order.insert(order.end(), {output_code::kLeftDelay, output_code::kRightDelay});
  } else {
    order.push_back(output_code::kDelay);
  }
  order.insert(order.end(), {editor_code::kHpfType, editor_code::kLpfType, editor_code::kHpfFrequency,
                             editor_code::kLpfFrequency, editor_code::kEqOn});
  if (!main) order.push_back(output_code::kFeedbackSuppressor);
  return order;
}

}  // namespace rmt4::ui
