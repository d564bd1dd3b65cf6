#include "ui/controls/band_panel.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstddef>

#include "ui/controls/keyboard_focus.h"
#include "ui/controls/host_background.h"
#include "ui/controls/text_format.h"
#include "ui/platform/artwork.h"
#include "ui/platform/fonts.h"
#include "ui/platform/window_message.h"

namespace rmt4::ui {
namespace {

constexpr int kSkinId = 161;
// Pieces of the skin: the panel, the thumb's resting and focused looks, and
// the type buttons' picture with peaking, high shelf or low shelf lit.
constexpr QRect kPanelPiece(0, 0, 98, 250);
constexpr QRect kThumbResting(73, 260, 16, 26);
constexpr QRect kThumbFocused(73, 300, 16, 26);
constexpr std::array<QRect, 3> kTypePieces{QRect(1, 260, 16, 76), QRect(19, 260, 16, 76), QRect(37, 260, 16, 76)};
constexpr std::array<int, 3> kTypesByButton{BandPanel::kPeaking, BandPanel::kHighShelf, BandPanel::kLowShelf};

constexpr std::array<BandFieldFormat, 3> kFieldFormats{{{BandFieldFormat::Mode::kFixedDecimals, 1},
                                                        {BandFieldFormat::Mode::kCharacterLimit, 5},
                                                        {BandFieldFormat::Mode::kCharacterLimit, 4}}};
constexpr std::array<double, 3> kInitialValues{0.0, 1000.0, 0.4};
constexpr std::array<BandField, 3> kFields{BandField::kGain, BandField::kFrequency, BandField::kQ};

const QString kFieldFace = QStringLiteral("宋体");
const QString kNumberFace = QStringLiteral("Arial");
constexpr int kInitialFieldFontSize = 14;

std::size_t Index(BandField field) { return static_cast<std::size_t>(field); }

}  // namespace

BandPanel::BandPanel(QWidget* parent, int controlId) : QWidget(parent), controlId_(controlId) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoMousePropagation);
  setFocusPolicy(Qt::StrongFocus);  // Tab and click; the wheel only moves it
  fieldFont_ = MakeFont(kFieldFace, kInitialFieldFontSize);
  // The fields exist from the start, so a host may load values at any time.
  for (const BandField field : kFields) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::number(kFieldIds[Index(field)]));
    edit->setAlignment(Qt::AlignCenter);
    edit->setFrame(false);
    edit->setMaxLength(static_cast<int>(kMaxBandFieldText));  // typed text is outside data
    edit->setFont(fieldFont_);
    QPalette colours = edit->palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    edit->setPalette(colours);
    edit->installEventFilter(this);
    fields_[Index(field)] = edit;
    SetField(field, kInitialValues[Index(field)]);
  }
}

bool BandPanel::SetSource(const OffscreenBuffer* source) {
  skin_ = LoadArtwork(kSkinId);
  backgroundSource_ = source;
  LayOut();
  return !skin_.isNull();
}

QLineEdit& BandPanel::Field(BandField field) const { return *fields_[Index(field)]; }

void BandPanel::SetAncestorLevel(int level) {
  ancestorLevel_ = level;
  frame_.InvalidateBackground();
  update();
}

void BandPanel::SetField(BandField field, double value) {
  if (!std::isfinite(value)) return;
  values_[Index(field)] = value + 0.0;  // + 0.0: a negative zero is stored as zero
  if (!BeingEdited(field)) {
    Field(field).setText(QString::fromStdString(FormatBandField(field, kFieldFormats[Index(field)], value)));
  }
  frame_.Redraw(*this);
}

std::optional<double> BandPanel::StepField(BandField field, int delta) const {
  const std::optional<double> typed = ParseBandFieldText(Field(field).text().toStdString());
  if (!typed) return std::nullopt;
  // A delta beyond one is that many single steps (Page Up and Down).
  double value = StepBandField(field, *typed, delta, gains_);
  for (int k = 1; k < std::abs(delta); ++k) value = StepBandField(field, value, delta, gains_);
  return value;
}

bool BandPanel::BeingEdited(BandField field) const {
  const QLineEdit& edit = Field(field);
  return edit.isModified() && window()->focusWidget() == &edit;
}

void BandPanel::SetBandIndex(int index) { frame_.Set(*this, bandIndex_, index); }

void BandPanel::SetShowTypeButtons(bool show) { frame_.Set(*this, showTypeButtons_, show); }

void BandPanel::SetSkinVisible(bool visible) {
  skinVisible_ = visible;
  SetKeyboardReachable(*this, Qt::StrongFocus, visible);
  for (QLineEdit* edit : fields_) edit->setVisible(visible);
  if (!visible && dragging_) {
    dragging_ = false;
    unsetCursor();
  }
  frame_.Redraw(*this);
}

bool BandPanel::InputAllowed() const { return !skin_.isNull() && skinVisible_ && isEnabled(); }

void BandPanel::LayOut() {
  layout_ = BandPanelLayout::ForSize(size());
  fieldFont_ = MakeFont(kFieldFace, layout_.fields[0].height());
  for (const BandField field : kFields) {
    Field(field).setGeometry(layout_.fields[Index(field)]);
    Field(field).setFont(fieldFont_);
  }
  frame_.InvalidateBackground();
  update();
}

void BandPanel::StepAndReport(BandField field, int delta) {
  const std::optional<double> stepped = StepField(field, delta);
  Field(field).setModified(false);  // what the user typed is taken or refused now
  SetField(field, stepped.value_or(value(field)));
  if (stepped) Notify(static_cast<int>(field));
}

void BandPanel::Notify(int changed) { SendWindowMessage(parentWidget(), controlId_, bandIndex_, changed); }

bool BandPanel::HandleArrowKey(int key) {
  constexpr int kPageSteps = 10;
  switch (key) {
    case Qt::Key_PageUp:
      StepAndReport(BandField::kGain, +kPageSteps);
      return true;
    case Qt::Key_PageDown:
      StepAndReport(BandField::kGain, -kPageSteps);
      return true;
    case Qt::Key_Left:
      StepAndReport(BandField::kFrequency, -1);
      return true;
    case Qt::Key_Right:
      StepAndReport(BandField::kFrequency, +1);
      return true;
    case Qt::Key_Up:
      StepAndReport(BandField::kGain, +1);
      return true;
    case Qt::Key_Down:
      StepAndReport(BandField::kGain, -1);
      return true;
    default:
      return false;
  }
}

bool BandPanel::eventFilter(QObject* watched, QEvent* event) {
  const auto found = std::ranges::find(fields_, watched);
  if (found == fields_.end()) return QWidget::eventFilter(watched, event);
  const BandField field = kFields[static_cast<std::size_t>(found - fields_.begin())];
  switch (event->type()) {
    case QEvent::FocusIn:
      activeField_ = *found;
      update();
      break;
    case QEvent::FocusOut: {
      activeField_ = nullptr;
      // Only the user's own Tab or click commits; focus taken by a window or a
      // menu leaves the typed text waiting.
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) {
        StepAndReport(field, 0);
      }
      break;
    }
    case QEvent::KeyPress: {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        StepAndReport(field, 0);
        break;  // the field and then the host still see Enter
      }
      if (InputAllowed() && HandleArrowKey(key)) return true;
      break;
    }
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

void BandPanel::paintEvent(QPaintEvent*) {
  if (skin_.isNull()) return;
  const QImage& picture = frame_.Frame(*this, backgroundSource_, ancestorLevel_,
                                       skinVisible_, [this](QImage& f) { Compose(f); });
  QPainter(this).drawImage(0, 0, picture);
  DrawFocusMark(*this);
}

void BandPanel::Compose(QImage& frame) {
  QPainter painter(&frame);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(rect(), skin_, kPanelPiece);
  const QColor numberColour = focusLook_ ? ColourFromArgb(0xFFFF0000) : QColor(Qt::black);
  FillTextOutline(painter, layout_.numberBox, kTextCentreH | kTextCentreV | kTextSingleLine,
                  MakeFont(kNumberFace, layout_.numberFontSize, kFontBold), QString::number(bandIndex_ + 1),
                  numberColour);
  if (showTypeButtons_) {
    const auto lit = std::ranges::find(kTypesByButton, bandType_);
    painter.drawImage(
        layout_.typeImage, skin_,
        kTypePieces[lit == kTypesByButton.end() ? 0 : static_cast<std::size_t>(lit - kTypesByButton.begin())]);
  }
  const int thumbTop = layout_.GainY(gain(), gains_) - layout_.thumbH / 2;
  painter.drawImage(QRect(layout_.axisX - layout_.thumbW / 2 + 1, thumbTop, layout_.thumbW, layout_.thumbH), skin_,
                    focusLook_ ? kThumbFocused : kThumbResting);
  // Under the entry fields; seen only where a field is not shown.
  for (const BandField field : kFields) {
    FillTextOutline(painter, layout_.fields[Index(field)], kTextCentreH | kTextCentreV | kTextSingleLine, fieldFont_,
                    Field(field).text(), Qt::black);
  }
}

void BandPanel::resizeEvent(QResizeEvent*) { LayOut(); }

void BandPanel::moveEvent(QMoveEvent*) {
  // The host's pixels under the panel differ at the new place.
  frame_.InvalidateBackground();
  update();
}

void BandPanel::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton || !InputAllowed()) return;
  setFocus(Qt::MouseFocusReason);
  const QPoint at = event->position().toPoint();
  if (layout_.OnThumb(at, layout_.GainY(gain(), gains_))) {
    dragging_ = true;
    SetField(BandField::kGain, gain());
    repaint();
    Notify(static_cast<int>(BandField::kGain));
    setCursor(Qt::PointingHandCursor);
  } else {
    ClickOutsideThumb(at);
  }
  frame_.Set(*this, focusLook_, true);
}

void BandPanel::ClickOutsideThumb(QPoint at) {
  if (showTypeButtons_) {
    for (std::size_t button = 0; button < layout_.typeButtons.size(); ++button) {
      if (!layout_.typeButtons[button].contains(at)) continue;
      bandType_ = kTypesByButton[button];
      Notify(kBandTypeChanged);
    }
  }
  if (layout_.InThumbTravel(at)) {
    // Above the thumb raises the gain a step, below it lowers it.
    StepAndReport(BandField::kGain, at.y() < layout_.GainY(gain(), gains_) ? +1 : -1);
  }
}

void BandPanel::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void BandPanel::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  if (!dragging_ || !InputAllowed()) return;
  SetField(BandField::kGain, layout_.GainAtY(event->position().toPoint().y(), gains_));
  repaint();
  Notify(static_cast<int>(BandField::kGain));
}

void BandPanel::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton || !dragging_) return;
  dragging_ = false;
  unsetCursor();
  SetField(BandField::kGain, gain());
  Notify(static_cast<int>(BandField::kGain));
}

void BandPanel::wheelEvent(QWheelEvent* event) {
  event->accept();
  const int delta = event->angleDelta().y();
  if (!InputAllowed() || delta == 0) return;  // a sideways turn moves nothing
  const auto active = std::ranges::find(fields_, activeField_);
  const BandField field =
      active == fields_.end() ? BandField::kGain : kFields[static_cast<std::size_t>(active - fields_.begin())];
  StepAndReport(field, delta > 0 ? +1 : -1);
}

void BandPanel::keyPressEvent(QKeyEvent* event) {
  if (InputAllowed() && HandleArrowKey(event->key())) {
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void BandPanel::focusInEvent(QFocusEvent*) { frame_.Set(*this, focusLook_, true); }

void BandPanel::focusOutEvent(QFocusEvent*) { frame_.Set(*this, focusLook_, false); }

}  // namespace rmt4::ui
