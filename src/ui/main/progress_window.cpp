#include "ui/main/progress_window.h"

#include <QCloseEvent>
#include <QMetaObject>
#include <QPainter>
#include <QPainterPath>
#include <QThread>
#include <QWindow>

#include "ui/controls/number_format.h"
#include "ui/platform/artwork.h"
#include "ui/platform/fonts.h"

namespace rmt4::ui {
namespace {

// The bar grows from 27 pixels (position 0) to 516 (the maximum).
constexpr int kBarStart = 27;
constexpr int kBarSpan = 489;
constexpr int kTextTop = 90;

}  // namespace

ProgressWindow::ProgressWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      empty_(LoadArtwork(130)),
      full_(LoadArtwork(131)),
      format_("欢迎使用!"),
      composite_(empty_) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setWindowOpacity(220.0 / 255.0);
  font_ = MakeFont(QStringLiteral("黑体"), 0);
  font_.setPointSize(25);
  resize(kWidth, kHeight);
  Recentre();
}

void ProgressWindow::SetProgressMaximum(int maximum) {
  std::lock_guard lock(mutex_);
  maximum_ = maximum;
}

void ProgressWindow::SetProgressFormat(const std::string& format) {
  std::lock_guard lock(mutex_);
  format_ = format;
}

void ProgressWindow::SetProgressPosition(int position) {
  QImage picture = empty_;
  QString text;
  int bar = 0;
  {
    std::lock_guard lock(mutex_);
    // A maximum of 0 would divide by zero: it shows an empty bar.
    const double fraction = maximum_ > 0 ? static_cast<double>(position) / maximum_ : 0.0;
    text = QString::fromStdString(FormatNumber(format_, fraction * 100.0));
    bar = static_cast<int>(fraction * kBarSpan + kBarStart);
  }
  bar = std::clamp(bar, 0, kWidth);
  {
    QPainter painter(&picture);
    painter.drawImage(QPoint(0, 0), full_, QRect(0, 0, bar, kHeight));
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font_);
    painter.setPen(QColor(255, 0, 0));
    painter.drawText(QRect(0, kTextTop, kWidth, kHeight - kTextTop), Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                     text);
  }
  {
    std::lock_guard lock(mutex_);
    composite_ = std::move(picture);
    text_ = text;
    barWidth_ = bar;
  }
  OnWindowThread([this] {
    Recentre();
    update();
  });
}

void ProgressWindow::ShowProgress() {
  OnWindowThread([this] {
    Recentre();
    show();
    raise();
  });
}

void ProgressWindow::HideProgress() {
  OnWindowThread([this] { hide(); });
}

QImage ProgressWindow::composite() const {
  std::lock_guard lock(mutex_);
  return composite_;
}

QString ProgressWindow::progressText() const {
  std::lock_guard lock(mutex_);
  return text_;
}

int ProgressWindow::barWidth() const {
  std::lock_guard lock(mutex_);
  return barWidth_;
}

void ProgressWindow::OnWindowThread(std::function<void()> work) {
  if (thread() == QThread::currentThread()) {
    work();
  } else {
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
  }
}

void ProgressWindow::Recentre() {
  const QWidget* owner = parentWidget();
  if (owner == nullptr) return;
  const QRect frame = owner->window()->frameGeometry();
  move((frame.left() + frame.left() + frame.width() - kWidth) / 2, (frame.top() + frame.top() + frame.height() - kHeight) / 2);
}

void ProgressWindow::paintEvent(QPaintEvent*) {
  const QImage picture = composite();
  QPainter painter(this);
  painter.drawImage(rect(), picture);
}

void ProgressWindow::resizeEvent(QResizeEvent*) {
  QPainterPath rounded;
  rounded.addRoundedRect(QRectF(rect()), 5, 5);
  setMask(QRegion(rounded.toFillPolygon().toPolygon()));
}

void ProgressWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && windowHandle() != nullptr) windowHandle()->startSystemMove();
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  Recentre();
  SetProgressFormat({});
  SetProgressPosition(0);
  hide();
}

}  // namespace rmt4::ui
