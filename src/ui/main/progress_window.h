#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include <mutex>
#include <string>

namespace rmt4::ui {

/// The floating progress window of the long link operations (complete read,
/// display refresh, scene upload, mode recall). The link worker drives it
/// from its own thread: every public operation may be called from any
/// thread; the window itself is touched only on the window thread.
class ProgressWindow final : public QWidget {
 public:
  static constexpr int kWidth = 541;
  static constexpr int kHeight = 161;

  /// Created hidden, centred over `owner`.
  explicit ProgressWindow(QWidget* owner);

  void SetProgressMaximum(int maximum);
  void SetProgressFormat(const std::string& format);
  /// Recomposes the picture for `position` and recentres the window.
  void SetProgressPosition(int position);
  void ShowProgress();
  void HideProgress();

  /// What the window shows now.
  [[nodiscard]] QImage composite() const;
  [[nodiscard]] QString progressText() const;
  /// Width of the filled part of the bar, in pixels from the left edge.
  [[nodiscard]] int barWidth() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  /// Runs on the window thread, now or queued.
  void OnWindowThread(std::function<void()> work);
  void Recentre();

  const QImage empty_;  // bitmap 130
  const QImage full_;   // bitmap 131
  QFont font_;

  mutable std::mutex mutex_;  // guards everything below
  int maximum_ = 100;
  std::string format_;
  QImage composite_;
  QString text_;
  int barWidth_ = 0;
};

}  // namespace rmt4::ui
