#pragma once

// What an undo or redo will do, in words and units of the interface language:
// the tips of the undo and redo buttons and the question before overwriting
// values the console changed since.

#include <string>
#include <vector>

#include "history/edit_history.h"

namespace rmt4 {

/// "Undo: CH3 fader back from -10.0 dB to -6.0 dB", "Redo: scene upload (312 values)".
[[nodiscard]] std::string UndoTip(const HistoryStep& step, bool back);
/// "CH3 fader was changed on the console since. Undo it anyway?"
[[nodiscard]] std::string ChangedOnConsoleQuestion(const std::vector<ParamAddress>& words, bool back);

}  // namespace rmt4
