#include "history/param_change.h"

namespace rmt4 {

std::string_view ChangeSourceName(ChangeSource source) {
  switch (source) {
    case ChangeSource::kConsole:
      return "console";
    case ChangeSource::kUndo:
      return "undo";
    case ChangeSource::kRedo:
      return "redo";
    case ChangeSource::kPc:
      break;
  }
  return "pc";
}

}  // namespace rmt4
