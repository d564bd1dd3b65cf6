#pragma once

#include <QSize>
#include <QString>
#include <array>
#include <string>
#include <vector>

#include "ui/editors/editor_panel.h"

class QScrollBar;

namespace rmt4::ui {

class CEA_Qel2;
class CEQ_Qel0;
class CGDI_Button;
class CQel_ComboBox;
class Cqel_CStatic;
class EditorContent;

/// Which editor an instance is: the input channels CH1..DIGTAL, or the
/// effect returns, whose compressor panel gives way to the effect program.
enum class InputEditorRole { kInputChannels, kEffectReturns };

/// The kinds of control the editor holds, numbered within each kind as
/// L0.., B0.., C0.., K0.. (see input_editor_inventory.h).
enum class InputEditorControl { kLabel, kButton, kCombo, kSlider };

/// The detailed editor of one input channel: gain, delay, noise gate, the cut
/// filters, a four-band EQ, the sends with their Pre/Post switches and the
/// compressor, on content wider than the view that scrolls horizontally.
/// Every user edit is posted to the parent as ControlEdited (wParam = the
/// channel, lParam = the editor code); the parent reads the value back with
/// ReadControl and writes it.
class CWinInPut : public EditorPanel {
  Q_OBJECT

 public:
  static constexpr QSize kViewSize{882, 293};
  static constexpr QSize kContentSize{1445, 279};
  /// The background bitmap the content is sliced from.
  static constexpr int kBackgroundBitmap = 154;

  explicit CWinInPut(QWidget* parent, InputEditorRole role = InputEditorRole::kInputChannels);

  void SetChannel(int channel) override;
  [[nodiscard]] int channel() const override { return channel_; }
  [[nodiscard]] int ReadControl(int code) const override;
  void ApplyValue(int code, int raw) override;
  [[nodiscard]] std::vector<int> LoadOrder() const override;
  void ResetView() override;
  void SetScale(double horizontal, double vertical) override;
  [[nodiscard]] QSize DesignSize() const override { return kViewSize; }

  /// Rebuilds the text that shows `code` (80: the fixed captions).
  void RefreshText(int code);
  /// Rebuilds every text, in the current language.
  void RefreshTexts();

  /// A control that is not shown takes no room and no input. The role sets
  /// the defaults; the ST9/10 and DIGTAL variant hides delay and gain on top.
  void SetControlShown(InputEditorControl kind, int index, bool shown);
  [[nodiscard]] bool controlShown(InputEditorControl kind, int index) const;

  // The controls, for the frame and for tests.
  [[nodiscard]] CEA_Qel2& slider(int index) const { return *sliders_.at(static_cast<std::size_t>(index)); }
  [[nodiscard]] CGDI_Button& button(int index) const { return *buttons_.at(static_cast<std::size_t>(index)); }
  [[nodiscard]] CQel_ComboBox& combo(int index) const { return *combos_.at(static_cast<std::size_t>(index)); }
  [[nodiscard]] Cqel_CStatic& label(int index) const { return *labels_.at(static_cast<std::size_t>(index)); }
  [[nodiscard]] CEQ_Qel0& band(int index) const { return *bands_.at(static_cast<std::size_t>(index)); }
  [[nodiscard]] QScrollBar& scrollBar() const { return *scrollBar_; }
  [[nodiscard]] EditorContent& content() const { return *content_; }

 protected:
  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void CreateControls();
  void HideForRole(InputEditorRole role);
  /// Places every control at its scaled nominal rectangle and sets the fonts.
  void LayOut();
  void ApplyFonts();
  void UpdateVisibility();
  [[nodiscard]] QRect Scaled(const QRect& nominal) const;
  [[nodiscard]] QPoint SliderPosition(std::size_t index) const;
  [[nodiscard]] bool Shown(InputEditorControl kind, std::size_t index) const;

  void OnScrollAction(int action);
  void ScrollTo(int position);

  void OnSliderMoved(int index);
  void OnButtonClicked(int index);
  void OnComboPicked(int index);
  void OnBandEdited(int band, int field);
  /// Posts ControlEdited for `code` to the parent.
  void Notify(int code);

  // Conversions between codes and controls (input_editor_values.cpp).
  [[nodiscard]] bool ButtonPressed(int index) const;
  void ShowPressed(int index, bool pressed);
  /// The slider for `code`, or null for a code without one.
  [[nodiscard]] CEA_Qel2* SliderOfCode(int code) const;
  void ApplyBandValue(int code, int raw);

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
  [[nodiscard]] QString PressedCaption(int buttonIndex) const;

  InputEditorRole role_;
  int channel_ = 0;
  double sx_ = 1.0;
  double sy_ = 1.0;
  EditorContent* content_ = nullptr;
  QScrollBar* scrollBar_ = nullptr;
  std::array<Cqel_CStatic*, 10> labels_{};
  std::array<CGDI_Button*, 9> buttons_{};
  std::array<CQel_ComboBox*, 3> combos_{};
  std::array<CEA_Qel2*, 20> sliders_{};
  std::array<CEQ_Qel0*, 4> bands_{};
  std::array<std::array<bool, 20>, 4> shown_{};
  /// ST9/10 and DIGTAL have no delay and no input gain.
  bool withoutDelayAndGain_ = false;
  /// The program type last shown (0..36); it decides the parameter texts.
  int programType_ = 0;
};

}  // namespace rmt4::ui
