#pragma once

#include <QSize>
#include <QWidget>

#include <vector>

namespace rmt4 {
class ParamTable;
}

namespace rmt4::ui {

/// One of the channel editor frame's panels (input channels, effect returns,
/// MAIN, the AUX buses). A panel never writes parameters: it reports each
/// control the user changes by posting ControlEdited (wParam = its channel,
/// lParam = the control's editor code) to its parent, which reads the new raw
/// value with ReadControl and writes it. The frame shows a channel's values
/// on it with ApplyValue.
class EditorPanel : public QWidget {
 public:
  using QWidget::QWidget;

  /// The editor channel the panel edits (0..18); also selects the variant
  /// (e.g. ST9/10 and DIGTAL have no delay or gain).
  virtual void SetChannel(int channel) = 0;
  [[nodiscard]] virtual int channel() const = 0;

  /// The raw parameter value the control for `code` represents.
  [[nodiscard]] virtual int ReadControl(int code) const = 0;
  /// Shows a raw parameter value on the control for `code`, without reporting it.
  virtual void ApplyValue(int code, int raw) = 0;
  /// The codes whose values the frame loads when it opens the channel, in order.
  [[nodiscard]] virtual std::vector<int> LoadOrder() const = 0;
  /// Back to the start of the scrolling content (after loading).
  virtual void ResetView() = 0;

  /// The main window's scale factors; the panel lays itself out at its design size times them.
  virtual void SetScale(double horizontal, double vertical) = 0;
  /// The panel's own size at scale 1.
  [[nodiscard]] virtual QSize DesignSize() const = 0;

  /// Tells each value control which parameter of the panel's channel it
  /// stands for, read from `params` (see DescribeControl); a panel without
  /// such controls has nothing to tell.
  virtual void DescribeControls(const ParamTable& params) { (void)params; }
};

}  // namespace rmt4::ui
