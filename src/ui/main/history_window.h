#pragma once

#include <QWidget>

#include <deque>
#include <string>
#include <vector>

#include "history/change_log.h"

class QComboBox;
class QTableWidget;

namespace rmt4::ui {

/// Today's changes from the change log, newest first: time, who, parameter,
/// old → new, with a filter by channel. Changes recorded while it is open
/// come in as they happen. Double-clicking a change this PC made in this run
/// asks to undo back to its step.
class HistoryWindow final : public QWidget {
  Q_OBJECT

 public:
  enum Column : int { kTime, kWho, kParameter, kChange, kColumnCount };

  HistoryWindow(ChangeLog& log, QWidget* parent);
  ~HistoryWindow() override;

  void Retranslate();

  [[nodiscard]] QTableWidget& table() { return *table_; }
  [[nodiscard]] QComboBox& channelFilter() { return *channels_; }

 signals:
  void undoBackToRequested(quint64 step);

 private:
  struct Shown {
    ChangeLogEntry entry;
    std::string channel;  ///< the catalogue's channel of its parameter; empty for a note
  };

  void Add(const std::vector<ChangeLogEntry>& entries);
  void Refill();
  [[nodiscard]] bool Passes(const Shown& shown) const;
  /// Puts `shown` (the index into shown_) in the table's top row.
  void InsertOnTop(std::size_t index);
  void OnDoubleClick(int row);

  ChangeLog& log_;
  QComboBox* channels_;
  QTableWidget* table_;
  /// Oldest first; its front is dropped when it holds more than the log keeps.
  std::deque<Shown> shown_;
  /// Entries dropped from shown_'s front since the start, so that rows keep naming their entry.
  std::size_t droppedFront_ = 0;
};

}  // namespace rmt4::ui
