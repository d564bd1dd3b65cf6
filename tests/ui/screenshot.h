#pragma once

#include <QDir>
#include <QString>
#include <QWidget>

namespace rmt4::test {

/// Saves the widget's picture as <name>.png among the test artefacts and
/// returns the path (empty when it could not be written).
inline QString SaveScreenshot(QWidget& widget, const QString& name) {
  const QDir folder(QStringLiteral(RMT4_SCREENSHOT_DIR));
  if (!QDir().mkpath(folder.path())) return {};
  const QString path = folder.filePath(name + ".png");
  return widget.grab().save(path, "PNG") ? path : QString();
}

}  // namespace rmt4::test
