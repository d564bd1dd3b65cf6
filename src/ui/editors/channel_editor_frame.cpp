#include "ui/editors/channel_editor_frame.h"

#include <QPainter>
#include <QRegion>

#include <algorithm>

#include "ui/controls/level_meter.h"
#include "ui/controls/response_curve.h"
#include "ui/controls/skinned_combo_box.h"
#include "ui/controls/skinned_fader.h"
#include "ui/editors/editor_panel.h"
#include "ui/platform/artwork.h"
#include "ui/platform/window_message.h"
#include "values/editor_addresses.h"
#include "values/editor_codes.h"
#include "values/level_table.h"

namespace rmt4::ui {
namespace {

constexpr int kBackgroundImage = 150;
constexpr int kBalanceMoved = 6024;
// The first points of the curve the inputs use: HPF, LPF and bands 1..4.
constexpr int kInputCurvePoints = 6;

}  // namespace

ChannelEditorFrame::ChannelEditorFrame(QWidget* parent, ParamTable& params, LinkJobs& jobs, const EditorPanelFactory& makePanels)
    : QWidget(parent), params_(params), jobs_(jobs), backgroundImage_(LoadArtwork(kBackgroundImage)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  hide();
  resize(DesignSize());
  CreateHeader();
  panels_ = makePanels(this);
  for (int kind = 0; kind < kPanelKindCount; ++kind) {
    if (EditorPanel* each = panels_[static_cast<std::size_t>(kind)]) {
      each->SetChannel(FirstChannelOf(static_cast<PanelKind>(kind)));
      each->hide();
      each->DescribeControls(params_);
    }
  }
  DescribeHeader();
  LayOut();
  PostWindowMessage(this, kRefreshTexts, 0, 0);
}

ChannelEditorFrame::~ChannelEditorFrame() = default;

void ChannelEditorFrame::SetScale(double horizontal, double vertical) {
  if (horizontal == scaleX_ && vertical == scaleY_) return;
  scaleX_ = horizontal;
  scaleY_ = vertical;
  for (EditorPanel* each : panels_) {
    if (each != nullptr) each->SetScale(horizontal, vertical);
  }
  LayOut();
}

bool ChannelEditorFrame::CanOpen(int channel) const {
  const std::optional<PanelKind> kind = PanelKindOf(channel);
  return kind && panel(*kind) != nullptr;
}

EditorPanel* ChannelEditorFrame::ShownPanel() const {
  const std::optional<PanelKind> kind = PanelKindOf(selection_.selected);
  return kind ? panel(*kind) : nullptr;
}

void ChannelEditorFrame::SelectChannel(int channel) {
  if (!CanOpen(channel)) return;
  const PanelKind kind = *PanelKindOf(channel);
  for (int each = 0; each < kPanelKindCount; ++each) {
    if (EditorPanel* other = panels_[static_cast<std::size_t>(each)]) other->setVisible(each == static_cast<int>(kind));
  }
  panel(kind)->SetChannel(channel);
  ShowHeaderFor(channel);
  if (channel < kMainChannel) {
    selection_.input = channel;
  } else {
    selection_.output = channel - kMainChannel;
  }
  selection_.selected = channel;
  ShowSelections();
  for (int point = 0; point < kCurvePointCount; ++point) {
    curve_->pointEnabled[static_cast<std::size_t>(point)] = channel >= kMainChannel || point < kInputCurvePoints;
  }
  RefreshCaption(header_code::kTitle);
  RefreshInputSection();
  RefreshOutputSection();
  LoadPanelAndCurve();
  update();
}

void ChannelEditorFrame::ValueArrived(ParamAddress address) {
  // While hidden nothing is shown; opening a channel loads it afresh.
  if (!isVisible() || !IsValidAddress(address)) return;
  if (address == address::kChannelSelect) {
    SelectChannel(selection_.selected);
    return;
  }
  if (HeaderShows(address)) {
    RefreshInputSection();
    RefreshOutputSection();
  }
  const std::uint16_t value = params_.Value(address);
  const auto writes = [&](int code) {
    const EditorAddresses addresses = EditorCodeAddresses(selection_.selected, code);
    return std::find(addresses.begin(), addresses.end(), address) != addresses.end();
  };
  if (EditorPanel* shown = ShownPanel()) {
    for (int code : shown->LoadOrder()) {
      if (writes(code)) shown->ApplyValue(code, value);
    }
  }
  for (int code = 0; code <= editor_code::kLpfType; ++code) {
    if (writes(code)) ShowOnCurve(code, value, 0.0);
  }
}

void ChannelEditorFrame::SetMeterLevels(int left, int right) {
  meters_[0]->SetLevel(left);
  meters_[1]->SetLevel(right);
}

bool ChannelEditorFrame::event(QEvent* event) {
  const WindowMessage* message = AsWindowMessage(event);
  if (message == nullptr) return QWidget::event(event);
  const auto wParam = static_cast<int>(message->wParam());
  switch (message->message()) {
    case kControlEdited:
      OnControlEdited(wParam, static_cast<int>(message->lParam()));
      return true;
    case kButtonClicked:
      OnHeaderButton(wParam);
      return true;
    case kFaderMoved: {
      const int k = wParam == 0 ? 0 : 1;
      faderLevels_.at(static_cast<std::size_t>(k)) = LevelAtStep(fader(k).position());
      PostHeaderEdit(k == 0 ? header_code::kInputFader : header_code::kOutputFader);
      return true;
    }
    case kBalanceMoved:
      PostHeaderEdit(header_code::kBalance);
      return true;
    case kLabelOrSelector: {
      const int picked = selectors_.at(wParam == 0 ? 0 : 1)->shownIndex();
      const int previous = selection_.selected;
      SelectChannel(wParam == 0 ? picked : kMainChannel + picked);
      // A channel that cannot be opened leaves the selector showing the channel still edited.
      if (selection_.selected == previous) ShowSelections();
      return true;
    }
    case kCurveEdited:
      OnCurveEdited(wParam, static_cast<int>(message->lParam()));
      return true;
    case kRefreshTexts:
      for (int code = header_code::kBalance; code <= header_code::kLanguage; ++code) RefreshCaption(code);
      return true;
    default:
      return QWidget::event(event);
  }
}

void ChannelEditorFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!background_.bufferValid()) {
    painter.fillRect(rect(), palette().window());  // no artwork: the plain window look
    return;
  }
  QImage composed = background_.image().copy(rect());
  {
    QPainter into(&composed);
    curve_->PaintInto(into);
  }
  // The shown panel draws itself; the frame must not paint over it.
  QRegion region(rect());
  if (const EditorPanel* shown = ShownPanel(); shown != nullptr && shown->isVisible()) region -= PanelRect(*shown);
  painter.setClipRegion(region);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(QPoint(0, 0), composed);
}

void ChannelEditorFrame::resizeEvent(QResizeEvent*) { LayOut(); }

void ChannelEditorFrame::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  curve_->SetActive(1);
}

void ChannelEditorFrame::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  curve_->SetActive(0);
}

}  // namespace rmt4::ui
