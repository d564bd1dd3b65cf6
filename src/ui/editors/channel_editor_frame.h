#pragma once

#include <QImage>
#include <QWidget>

#include <array>
#include <memory>

#include "link/link_jobs.h"
#include "protocol/param_table.h"
#include "ui/controls/offscreen_buffer.h"
#include "ui/editors/editor_panels.h"
#include "values/editor_addresses.h"
#include "values/editor_header_writes.h"

class QMenu;

namespace rmt4::ui {

class SkinnedSlider;
class SkinnedFader;
class SkinnedButton;
class SkinnedComboBox;
class ResponseCurve;
class SkinnedLabel;
class LevelMeter;
class EditorPanel;

/// The channel editor frame: one editing surface for every channel of the
/// console. It shows the panel of the selected channel's kind under a header
/// of its own (input and output sections with selector, ENTER, MUTE, PFL and
/// fader; Copy, 48V, phase, L, R and Balance by channel kind; the title and
/// two meters) and the response curve on top. Every edit, from a panel
/// (ControlEdited with the panel's channel), from the header or from the
/// curve (ControlEdited from the frame to itself, source 20), passes through
/// one handler that writes the parameter table; curve and panel are kept
/// showing the same values.
class ChannelEditorFrame final : public QWidget {
 public:
  /// Header buttons by index (the wParam of their messages).
  enum HeaderButton : int {
    kInputEnter,
    kInputMute,
    kInputPfl,
    kOutputEnter,
    kOutputMute,
    kOutputPfl,
    kCopy,
    kPhantom,
    kPhase,
    kLeft,
    kRight,
  };
  static constexpr int kHeaderButtonCount = 11;
  /// The Copy menu's commands: copy to CH1 .. CH8.
  static constexpr int kFirstCopyCommand = 11324;

  /// Created hidden; the panels come from `makePanels`.
  ChannelEditorFrame(QWidget* parent, ParamTable& params, LinkJobs& jobs, const EditorPanelFactory& makePanels = MakeEditorPanels);
  ~ChannelEditorFrame() override;

  /// The main window's factors; the frame lays itself out at its design size times them.
  void SetScale(double horizontal, double vertical);
  [[nodiscard]] static QSize DesignSize() { return {1141, 678}; }

  /// Whether a channel (0..18) has a panel, i.e. can be opened.
  [[nodiscard]] bool CanOpen(int channel) const;
  /// Shows channel `channel` (0..18) and loads it from the table; ignored
  /// above 18 and for channels without a panel.
  void SelectChannel(int channel);
  /// A value arrived from the console: the header, panel and curve show it
  /// while the frame is shown; address 1184 reloads the whole channel.
  void ValueArrived(ParamAddress address);
  /// Both level meters, 0..12.
  void SetMeterLevels(int left, int right);

  /// The Copy menu for the channel being edited (entries 1..8, its own greyed);
  /// each action's data is its command.
  [[nodiscard]] std::unique_ptr<QMenu> BuildCopyMenu();
  /// Runs a Copy menu command (11324..11331).
  void CopyToChannel(int command);

  [[nodiscard]] int selectedChannel() const { return selection_.selected; }
  [[nodiscard]] int inputSelection() const { return selection_.input; }
  [[nodiscard]] int outputSelection() const { return selection_.output; }
  [[nodiscard]] SkinnedButton& button(int index) const { return *buttons_.at(static_cast<std::size_t>(index)); }
  [[nodiscard]] SkinnedFader& fader(int index) const { return *faders_.at(static_cast<std::size_t>(index)); }
  [[nodiscard]] SkinnedComboBox& selector(int index) const { return *selectors_.at(static_cast<std::size_t>(index)); }
  [[nodiscard]] SkinnedLabel& faderCaption(int index) const { return *faderCaptions_.at(static_cast<std::size_t>(index)); }
  [[nodiscard]] SkinnedLabel& title() const { return *title_; }
  [[nodiscard]] SkinnedSlider& balance() const { return *balance_; }
  [[nodiscard]] ResponseCurve& curve() const { return *curve_; }
  [[nodiscard]] LevelMeter& meter(int side) const { return *meters_.at(static_cast<std::size_t>(side)); }
  [[nodiscard]] EditorPanel* panel(PanelKind kind) const { return panels_[static_cast<std::size_t>(kind)]; }
  /// The header's controls Tab reaches (input column, middle row, output
  /// column), then each panel's, section by section from the left.
  [[nodiscard]] std::vector<QWidget*> TabStops() const;
  /// Gives the keyboard to the first control of the header.
  void TakeKeyboard();
  /// Clicks the MUTE of the channel being edited (the input or the output section's).
  void ClickSelectedMute();
  /// The name of editor channel `channel` (0..18) in the current language.
  [[nodiscard]] static QString ChannelTitle(int channel);

  /// Whether header control `control` (a button, the balance) is placed in view.
  [[nodiscard]] bool HeaderShown(const QWidget& control) const;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  struct Placement {
    QWidget* control;
    QRect design;
    bool shown;
  };

  // Header (channel_editor_frame_header.cpp).
  void CreateHeader();
  /// Tells the header's value controls which parameter of the selected channels each stands for.
  void DescribeHeader();
  void Place(QWidget& control, const QRect& design);
  void LayOut();
  void PlaceChild(const Placement& placement) const;
  void ShowHeaderFor(int channel);
  void SetHeaderShown(QWidget& control, bool shown);
  [[nodiscard]] QRect Scaled(const QRect& design) const;
  [[nodiscard]] QRect PanelRect(const EditorPanel& panel) const;
  void ApplyFonts();
  /// Whether the header shows `address` for the channels selected now.
  [[nodiscard]] bool HeaderShows(ParamAddress address) const;
  void RefreshInputSection();
  void RefreshOutputSection();
  void RefreshCaption(int code);
  void RefreshLanguage();
  /// The selectors show the input and output selections.
  void ShowSelections();
  [[nodiscard]] bool Lit(int button) const;
  void SetLit(int button, bool lit);
  void ShowBalance(int value);
  void OnHeaderButton(int index);
  /// Posts a header edit to the frame itself and refreshes its caption.
  void PostHeaderEdit(int code);

  // Routing and loading (channel_editor_frame_routing.cpp).
  void OnControlEdited(int source, int code);
  void RoutePanelEdit(int channel, int code);
  void RouteEffectProgram(int channel, int code, int value);
  void RouteHeaderEdit(int code);
  void OnCurveEdited(int notice, int band);
  /// Shows raw value `raw` of code `code` on the curve; a cut filter that is off is given as `offHz`.
  void ShowOnCurve(int code, std::uint16_t raw, double offHz);
  /// The raw value the curve now holds for a band or cut-frequency code.
  [[nodiscard]] std::uint16_t CurveValue(int code) const;
  void LoadPanelAndCurve();
  [[nodiscard]] int BandCount() const;
  [[nodiscard]] EditorPanel* ShownPanel() const;
  void Write(const EditorAddresses& addresses, int raw);

  ParamTable& params_;
  LinkJobs& jobs_;
  OffscreenBuffer background_;
  const QImage backgroundImage_;
  double scaleX_ = 1.0;
  double scaleY_ = 1.0;
  HeaderSelection selection_;
  EditorPanels panels_{};

  std::array<SkinnedButton*, kHeaderButtonCount> buttons_{};
  std::array<SkinnedFader*, 2> faders_{};
  std::array<SkinnedComboBox*, 2> selectors_{};
  std::array<SkinnedLabel*, 2> faderCaptions_{};
  /// The levels the two faders stand for: the table's word, or the step the user moved a fader to.
  std::array<std::uint16_t, 2> faderLevels_{};
  SkinnedLabel* title_ = nullptr;
  SkinnedSlider* balance_ = nullptr;
  ResponseCurve* curve_ = nullptr;
  std::array<LevelMeter*, 2> meters_{};
  std::vector<Placement> placements_;
};

}  // namespace rmt4::ui
