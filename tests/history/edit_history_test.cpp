// The undo history: steps as the edit path makes them, taken back bit by bit,
// values the console moved since, its bounds, and what it tells the change log.
#include "history/edit_history.h"

#include <gtest/gtest.h>

#include "named_param.h"
#include "values/own_bits.h"
#include "values/param_catalogue.h"

namespace rmt4 {
namespace {

struct RecordingSink final : ChangeSink {
  void Record(const ChangeRecord& record) override { records.push_back(record); }
  std::vector<ChangeRecord> records;
};

class EditHistoryTest : public ::testing::Test {
 protected:
  /// One gesture writing `value` at each address.
  void Gesture(std::initializer_list<std::pair<std::string_view, std::uint16_t>> writes) {
    history.BeginStep();
    for (const auto& [name, value] : writes) ParamSet(table, Named(name), value);
    history.EndStep();
  }
  /// The console changed a word by itself, and the window was told.
  void FromConsole(std::string_view name, std::uint16_t value) {
    table[Named(name)].Store(value);
    history.ConsoleValue(Named(name));
  }
  std::uint16_t Value(std::string_view name) const { return table.Value(Named(name)); }

  ParamTable table;
  RecordingSink sink;
  EditHistory history{table, &sink, HistoryLimits{}, [] { return std::int64_t{1000}; }};
};

TEST_F(EditHistoryTest, AnEditOutsideAGestureOpensAStepTheOwnerCloses) {
  int opened = 0;
  history.SetStepOpenedHandler([&] { ++opened; });
  ParamSet(table, Named("ch1.fader"), 500);
  ParamSet(table, Named("ch2.fader"), 500);
  EXPECT_EQ(opened, 1);
  history.EndStep();
  ASSERT_EQ(history.undoCount(), 1u);
  EXPECT_EQ(history.NextUndo()->changes.size(), 2u);
}

TEST_F(EditHistoryTest, AStepThatEndsWhereItBeganIsNoStep) {
  const std::uint16_t fader = Value("ch3.fader");
  Gesture({{"ch3.fader", 100}, {"ch3.fader", fader}});
  EXPECT_EQ(history.undoCount(), 0u);
  EXPECT_TRUE(sink.records.empty());
}

// A word packing several things: the step changed one, the console another since.
struct SharedWordCase {
  const char* name;
  std::uint16_t start;
  std::uint16_t edited;        // the step
  std::uint16_t console;       // then the console, without touching the step's bits
  std::uint16_t afterUndo;
};

TEST_F(EditHistoryTest, UndoChangesOnlyTheThingsTheStepChanged) {
  const SharedWordCase cases[] = {
      // mute (bit 3) by the PC, 48V (bit 0) by the console
      {"ch1.mute", 0x000C, 0x0004, 0x0005, 0x000D},
      // a send level by the PC, pre-fader (bit 15) by the console
      {"ch3.send.aux1", 0x0100, 0x0200, 0x8200, 0x8100},
      // compressor off (bit 15) by the PC, the ratio by the console
      {"ch3.comp.ratio", 0x0014, 0x8014, 0x8028, 0x0028},
  };
  for (const SharedWordCase& c : cases) {
    SCOPED_TRACE(c.name);
    table[Named(c.name)].Store(c.start);
    Gesture({{c.name, c.edited}});
    FromConsole(c.name, c.console);
    EXPECT_TRUE(history.UndoConflicts().empty());
    history.Undo(false);
    EXPECT_EQ(Value(c.name), c.afterUndo);
  }
}

TEST_F(EditHistoryTest, AValueTheConsoleMovedSinceIsAConflictKeptUnlessOverwritten) {
  for (const bool overwrite : {false, true}) {
    SCOPED_TRACE(overwrite);
    const std::uint16_t fader = Value("ch3.fader");
    const std::uint16_t pan = Value("ch3.pan");
    Gesture({{"ch3.fader", 700}, {"ch3.pan", 30}});
    FromConsole("ch3.fader", 650);
    EXPECT_EQ(history.UndoConflicts(), std::vector<ParamAddress>{Named("ch3.fader")});
    history.Undo(overwrite);
    EXPECT_EQ(Value("ch3.fader"), overwrite ? fader : 650);
    EXPECT_EQ(Value("ch3.pan"), pan) << "the rest is undone either way";
    history.Clear();
  }
}

TEST_F(EditHistoryTest, ConflictsBackToASeeThroughLaterStepsOfTheSameWord) {
  Gesture({{"ch3.fader", 100}});
  Gesture({{"ch3.fader", 200}});
  Gesture({{"ch4.fader", 300}});
  const std::uint64_t first = 1;
  EXPECT_TRUE(history.ConflictsBackTo(first).empty());
  FromConsole("ch4.fader", 333);
  EXPECT_EQ(history.ConflictsBackTo(first), std::vector<ParamAddress>{Named("ch4.fader")});
  EXPECT_EQ(history.UndoBackTo(first, false), 3);
  EXPECT_EQ(Value("ch3.fader"), DefaultValue(Named("ch3.fader")));
  EXPECT_EQ(Value("ch4.fader"), 333);
  EXPECT_EQ(history.UndoBackTo(99, false), 0) << "a step no longer kept undoes nothing";
}

TEST_F(EditHistoryTest, ANewStepClearsRedo) {
  Gesture({{"ch3.fader", 100}});
  history.Undo(false);
  ASSERT_EQ(history.redoCount(), 1u);
  Gesture({{"ch4.fader", 100}});
  EXPECT_EQ(history.redoCount(), 0u);
  EXPECT_FALSE(history.Redo(false));
}

TEST(EditHistoryBounds, TheOldestStepsGoByCountAndByChanges) {
  struct Case {
    HistoryLimits limits;
    int steps;
    int wordsPerStep;
    std::size_t kept;
  };
  const Case cases[] = {{{}, 1005, 1, 1000}, {{1000, 50}, 20, 10, 5}, {{1000, 5}, 1, 10, 1}};
  for (const Case& c : cases) {
    ParamTable table;
    EditHistory history(table, nullptr, c.limits);
    for (int s = 0; s < c.steps; ++s) {
      history.BeginStep();
      for (int w = 0; w < c.wordsPerStep; ++w) {
        ParamSet(table, static_cast<ParamAddress>(50 + w), static_cast<std::uint16_t>(s + 1));
      }
      history.EndStep();
    }
    EXPECT_EQ(history.undoCount(), c.kept);
    EXPECT_EQ(history.NextUndo()->number, static_cast<std::uint64_t>(c.steps)) << "the newest stays";
  }
}

TEST_F(EditHistoryTest, ASnapshotStepIsWhatTheJobChangedAndUndoWritesItAllBack) {
  std::vector<std::uint16_t> before(kParamCount);
  for (ParamAddress a = 0; a < kParamCount; ++a) before[a] = table.Value(a);
  history.BeginSnapshot(StepKind::kSceneUpload);
  // The link writes the scene and reads it back, without the edit path.
  for (ParamAddress a = 40; a < 340; ++a) table[a].Edit(static_cast<std::uint16_t>(before[a] + 1));
  table[address::kLevelMeters].Store(0x1234);
  table[address::kCurrentMode].Store(3);
  history.ConsoleValue(45);
  history.EndSnapshot();
  ASSERT_EQ(history.undoCount(), 1u);
  EXPECT_EQ(history.NextUndo()->kind, StepKind::kSceneUpload);
  EXPECT_EQ(history.NextUndo()->changes.size(), 300u) << "meters and the mode word are no settings";

  history.Undo(false);
  for (ParamAddress a = 40; a < 340; ++a) ASSERT_EQ(table.Value(a), before[a]) << a;
}

TEST_F(EditHistoryTest, RecordsTellWhoChangedWhatWithTheStepNumber) {
  Gesture({{"ch3.fader", 100}});
  Gesture({{"ch4.fader", 200}});
  FromConsole("ch5.fader", 300);
  FromConsole("ch5.fader", 300);  // no change: nothing recorded
  table[Named("ch6.fader")].Edit(400);  // a PC edit not yet confirmed
  history.ConsoleValue(Named("ch6.fader"));
  history.Undo(false);
  history.Redo(false);

  struct Seen {
    ChangeSource source;
    std::uint64_t step;
    const char* name;
  };
  const Seen expected[] = {{ChangeSource::kPc, 1, "ch3.fader"},
                           {ChangeSource::kPc, 2, "ch4.fader"},
                           {ChangeSource::kConsole, 0, "ch5.fader"},
                           {ChangeSource::kUndo, 2, "ch4.fader"},
                           {ChangeSource::kRedo, 2, "ch4.fader"}};
  ASSERT_EQ(sink.records.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(sink.records[i].source, expected[i].source);
    EXPECT_EQ(sink.records[i].step, expected[i].step);
    ASSERT_EQ(sink.records[i].changes.size(), 1u);
    EXPECT_EQ(sink.records[i].changes[0].address, Named(expected[i].name));
    EXPECT_EQ(sink.records[i].unixMs, 1000);
  }
  EXPECT_EQ(sink.records[3].changes[0].before, 200);
  EXPECT_EQ(sink.records[3].changes[0].after, DefaultValue(Named("ch4.fader")));
}

TEST_F(EditHistoryTest, AReconnectKeepsTheHistoryOfTheSameConsoleOnly) {
  EXPECT_EQ(history.EndReload("TCP 127.0.0.2:6010"), EditHistory::Reload::kFirst);
  Gesture({{"ch3.fader", 100}});
  const std::size_t recorded = sink.records.size();

  history.BeginReload();
  FromConsole("ch5.fader", 300);  // read while reconnecting: told at the end, in one record
  FromConsole("ch6.fader", 400);
  EXPECT_EQ(history.EndReload("TCP 127.0.0.2:6010"), EditHistory::Reload::kSameConsole);
  EXPECT_EQ(history.undoCount(), 1u);
  ASSERT_EQ(sink.records.size(), recorded + 1);
  EXPECT_EQ(sink.records.back().source, ChangeSource::kConsole);
  EXPECT_EQ(sink.records.back().changes.size(), 2u);

  history.BeginReload();
  EXPECT_EQ(history.EndReload("TCP 127.0.0.3:6010"), EditHistory::Reload::kOtherConsole);
  EXPECT_EQ(history.undoCount(), 0u);
}

}  // namespace
}  // namespace rmt4
