#pragma once

#include <QObject>

namespace rmt4::ui {

/// Turns SIGTERM, SIGINT and SIGHUP (a desktop logout, a shutdown, Ctrl+C in
/// the terminal) into a normal end of the event loop, so the windows close,
/// the link ends and the single-instance lock is released as after "Yes".
/// One per process, created after the application object.
class TerminationSignals : public QObject {
 public:
  TerminationSignals();
  ~TerminationSignals() override;
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

 private:
  int readEnd_ = -1;
};

}  // namespace rmt4::ui
