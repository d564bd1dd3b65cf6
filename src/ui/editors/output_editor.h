#pragma once

#include <QSize>
#include <vector>

#include "ui/editors/scrolling_editor.h"

namespace rmt4::ui {

/// The detailed editor of one output bus: a thirteen-band EQ, the cut
/// filters, the delay and the compressor; MAIN (channel 12) has a left and a
/// right delay, the AUX buses (13..18) one delay and the feedback suppressor
/// ("FEBK"). The frame hides the controls the instance's buses lack. Edits
/// are reported as on the input editor: ControlEdited (wParam = the channel,
/// lParam = an output_code or editor_code) to the parent.
class OutputEditor : public ScrollingEditor {
  Q_OBJECT

 public:
  static constexpr QSize kContentSize{1919, 279};

  /// Starts on `channel` (12 for the MAIN instance, 13 for the AUX one).
  OutputEditor(QWidget* parent, int channel);

  void SetChannel(int channel) override;
  [[nodiscard]] int ReadControl(int code) const override;
  void ApplyValue(int code, int raw) override;
  /// Bands, compressor, delays, filters, EQ switch; the AUX buses also the feedback suppressor.
  [[nodiscard]] std::vector<int> LoadOrder() const override;
  void RefreshText(int code) override;

 private:
  void RefreshCaptions();
};

}  // namespace rmt4::ui
