#pragma once

#include <QSize>

#include <map>
#include <utility>
#include <vector>

#include "ui/editors/channel_editor_frame.h"
#include "ui/editors/editor_panel.h"
#include "ui/platform/window_message.h"
#include "values/editor_codes.h"

namespace rmt4::test {

/// A stand-in for the frame's real panels: it records what the frame shows
/// on it and reads back what was last set (by the frame or by a test "user").
class FakeEditorPanel final : public ui::EditorPanel {
 public:
  using EditorPanel::EditorPanel;

  void SetChannel(int channel) override { channel_ = channel; }
  [[nodiscard]] int channel() const override { return channel_; }
  [[nodiscard]] int ReadControl(int code) const override {
    const auto found = values.find(code);
    return found == values.end() ? 0 : found->second;
  }
  void ApplyValue(int code, int raw) override {
    values[code] = raw;
    applied.emplace_back(code, raw);
  }
  [[nodiscard]] std::vector<int> LoadOrder() const override {
    using namespace editor_code;
    std::vector<int> codes;
    for (int band = 0; band < 4; ++band) codes.insert(codes.end(), {band, kBandQ + band, kBandGain + band});
    codes.insert(codes.end(), {kHpfType, kLpfType, kHpfFrequency, kLpfFrequency, kDelay, kMainSend, kEqOn});
    return codes;
  }
  void ResetView() override { ++resets; }
  void SetScale(double horizontal, double vertical) override { scale = {horizontal, vertical}; }
  [[nodiscard]] QSize DesignSize() const override { return {882, 293}; }

  /// The user sets control `code` to `raw`: reported as a panel reports it.
  void Edit(int code, int raw) {
    values[code] = raw;
    ui::PostWindowMessage(parentWidget(), ui::kControlEdited, channel_, code);
  }

  std::map<int, int> values;
  std::vector<std::pair<int, int>> applied;
  int resets = 0;
  std::pair<double, double> scale{1.0, 1.0};

 private:
  int channel_ = -1;
};

/// A panel for every kind.
inline ui::EditorPanels MakeFakePanels(QWidget* frame) {
  ui::EditorPanels panels{};
  for (ui::EditorPanel*& each : panels) each = new FakeEditorPanel(frame);
  return panels;
}

inline FakeEditorPanel& FakePanel(const ui::ChannelEditorFrame& frame, ui::PanelKind kind) {
  return static_cast<FakeEditorPanel&>(*frame.panel(kind));
}

}  // namespace rmt4::test
