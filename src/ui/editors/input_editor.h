#pragma once

#include <QSize>
#include <QString>
#include <string>
#include <vector>

#include "ui/editors/scrolling_editor.h"

namespace rmt4::ui {

/// Which editor an instance is: the input channels CH1..DIGTAL, or the
/// effect returns, whose compressor panel gives way to the effect program.
enum class InputEditorRole { kInputChannels, kEffectReturns };

/// The kinds of control the editor holds, numbered within each kind as
/// L0.., B0.., C0.., K0.. (see input_editor_inventory.h).
using InputEditorControl = EditorControlKind;

/// The detailed editor of one input channel: gain, delay, noise gate, the cut
/// filters, a four-band EQ, the sends with their Pre/Post switches and the
/// compressor, on content wider than the view that scrolls horizontally.
/// Every user edit is posted to the parent as ControlEdited (wParam = the
/// channel, lParam = the editor code); the parent reads the value back with
/// ReadControl and writes it.
class InputEditor : public ScrollingEditor {
  Q_OBJECT

 public:
  static constexpr QSize kContentSize{1445, 279};

  explicit InputEditor(QWidget* parent, InputEditorRole role = InputEditorRole::kInputChannels);

  void SetChannel(int channel) override;
  [[nodiscard]] int ReadControl(int code) const override;
  void ApplyValue(int code, int raw) override;
  [[nodiscard]] std::vector<int> LoadOrder() const override;
  void RefreshText(int code) override;

 protected:
  [[nodiscard]] bool Shown(EditorControlKind kind, std::size_t index) const override;
  [[nodiscard]] QPoint SliderPosition(std::size_t index) const override;

 private:
  void HideForRole(InputEditorRole role);

  // The effect-program panel of the returns (input_editor_effect.cpp).
  void FillInitialProgramEntries();
  void FillProgramEntries(const std::vector<std::string>& entries);
  [[nodiscard]] int ProgramReading() const;
  void ApplyProgramNumber(int program);
  void ApplyProgramType(int type);
  void RefreshProgramParameterText(int code);

  // Texts (input_editor_texts.cpp).
  void RefreshCaptions();
  void RefreshSendText(int code);

  InputEditorRole role_;
  /// ST9/10 and DIGTAL have no delay and no input gain.
  bool withoutDelayAndGain_ = false;
  /// The program type last shown (0..36); it decides the parameter texts.
  int programType_ = 0;
};

}  // namespace rmt4::ui
