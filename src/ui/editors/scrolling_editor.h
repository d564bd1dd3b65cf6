#pragma once

#include <QSize>
#include <QString>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ui/editors/editor_content.h"
#include "ui/editors/editor_inventory.h"
#include "ui/editors/editor_panel.h"

class QScrollBar;

namespace rmt4::ui {

class SkinnedSlider;
class BandPanel;
class SkinnedButton;
class SkinnedComboBox;
class SkinnedLabel;

/// The controls an editor lays out on its content.
struct EditorInventory {
  std::span<const EditorLabelItem> labels;
  std::span<const EditorButtonItem> buttons;
  std::span<const EditorComboItem> combos;
  std::span<const EditorSliderItem> sliders;
  int bandCount = 0;
  /// The compressor threshold's code; attack, release and the ratio (with
  /// the compressor switch) have the next three.
  int compressorCode = 0;
};

/// What the channel editors share: a view of 882 × 293 over content wider
/// than it that scrolls horizontally, the skinned controls of an inventory
/// placed at their scaled nominal rectangles, the user's edits reported to the
/// parent as ControlEdited (wParam = the channel, lParam = the control's
/// code), the equaliser section (bands, EQ switch, cut filters), whose
/// codes and encodings every editor has in common, and the compressor
/// section. The editors add their own codes' values and texts.
class ScrollingEditor : public EditorPanel {
 public:
  static constexpr QSize kViewSize{882, 293};
  /// The background bitmap the content is sliced from.
  static constexpr int kBackgroundBitmap = 154;

  [[nodiscard]] int channel() const override { return channel_; }
  void ResetView() override;
  void SetScale(double horizontal, double vertical) override;
  [[nodiscard]] QSize DesignSize() const override { return kViewSize; }

  /// Rebuilds the text that shows `code` (editor_code::kCaptions: the fixed captions).
  virtual void RefreshText(int code) = 0;
  /// Rebuilds every text, in the current language.
  void RefreshTexts();

  void DescribeControls(const ParamTable& params) override;

  /// A control that is not shown takes no room and no input.
  void SetControlShown(EditorControlKind kind, int index, bool shown);
  [[nodiscard]] bool controlShown(EditorControlKind kind, int index) const;

  // The controls, for the frame and for tests.
  [[nodiscard]] SkinnedSlider& slider(int index) const { return *sliders_.at(static_cast<std::size_t>(index)); }
  [[nodiscard]] SkinnedButton& button(int index) const { return *buttons_.at(static_cast<std::size_t>(index)); }
  [[nodiscard]] SkinnedComboBox& combo(int index) const { return *combos_.at(static_cast<std::size_t>(index)); }
  [[nodiscard]] SkinnedLabel& label(int index) const { return *labels_.at(static_cast<std::size_t>(index)); }
  [[nodiscard]] BandPanel& band(int index) const { return *bands_.at(static_cast<std::size_t>(index)); }
  [[nodiscard]] QScrollBar& scrollBar() const { return *scrollBar_; }
  [[nodiscard]] EditorContent& content() const { return *content_; }

 protected:
  ScrollingEditor(QWidget* parent, QSize contentSize, const std::vector<BackgroundSlice>& slices,
                  const EditorInventory& inventory);
  /// The last step of a derived constructor: lays out with the derived
  /// placement and visibility and asks for the texts.
  void Initialise();

  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

  /// Whether a control is shown: its flag, unless a variant takes it away.
  [[nodiscard]] virtual bool Shown(EditorControlKind kind, std::size_t index) const;
  /// A slider's nominal place (a role may move one).
  [[nodiscard]] virtual QPoint SliderPosition(std::size_t index) const;
  void UpdateVisibility();

  // The equaliser section (scrolling_editor_eq.cpp); none / false for other codes.
  [[nodiscard]] std::optional<int> ReadEqSection(int code) const;
  [[nodiscard]] bool ApplyEqSection(int code, int raw);
  [[nodiscard]] bool RefreshEqSectionText(int code);
  /// The equaliser section's fixed captions and title.
  void RefreshEqCaptions();

  // The compressor section (scrolling_editor_compressor.cpp); none / false for other codes.
  [[nodiscard]] std::optional<int> ReadCompressorSection(int code) const;
  [[nodiscard]] bool ApplyCompressorSection(int code, int raw);
  [[nodiscard]] bool RefreshCompressorSectionText(int code);

  [[nodiscard]] bool ButtonPressed(int index) const;
  void ShowPressed(int index, bool pressed);
  /// Captions `slider` with what `text` makes of its value.
  static void ShowCaption(SkinnedSlider& slider, std::string (*text)(double));
  /// "ON" for a released switch of a section, "OFF" for a pressed one.
  [[nodiscard]] static QString OnOffCaption(const SkinnedButton& sectionSwitch);
  /// The control that reports `code`, or null for a code without one.
  [[nodiscard]] SkinnedSlider* SliderOfCode(int code) const;
  [[nodiscard]] SkinnedButton* ButtonOfCode(int code) const;

  int channel_ = 0;

 private:
  /// 0..3 for threshold, attack, release and ratio; -1 for other codes.
  [[nodiscard]] int CompressorControlOf(int code) const;
  void CreateControls();
  /// Places every control at its scaled nominal rectangle and sets the fonts.
  void LayOut();
  void ApplyFonts();
  [[nodiscard]] QRect Scaled(const QRect& nominal) const;

  void OnScrollAction(int action);
  void ScrollTo(int position);
  /// Scrolls as little as brings `control` (on the content) whole into view.
  void ScrollIntoView(const QWidget& control);

  void OnSliderMoved(int index);
  void OnButtonClicked(int index);
  void OnComboPicked(int index);
  void OnBandEdited(int band, int field);
  /// Posts ControlEdited for `code` to the parent.
  void Notify(int code);

  QSize contentSize_;
  EditorInventory inventory_;
  double sx_ = 1.0;
  double sy_ = 1.0;
  EditorContent* content_ = nullptr;
  QScrollBar* scrollBar_ = nullptr;
  std::vector<SkinnedLabel*> labels_;
  std::vector<SkinnedButton*> buttons_;
  std::vector<SkinnedComboBox*> combos_;
  std::vector<SkinnedSlider*> sliders_;
  std::vector<BandPanel*> bands_;
  /// Shown flags by kind and index.
  std::vector<std::vector<bool>> shown_;
};

}  // namespace rmt4::ui
