#include "ui/editors/scene_name_text.h"

namespace rmt4::ui {

LabelId SceneNameFaultText(SceneNameFault fault) {
  switch (fault) {
    case SceneNameFault::kFolderPart:
      return LabelId::SceneNameFolderPart;
    case SceneNameFault::kDots:
      return LabelId::SceneNameDots;
    case SceneNameFault::kControlCharacter:
      return LabelId::SceneNameControlCharacter;
    default:
      return LabelId::SceneNameTooLong;
  }
}

}  // namespace rmt4::ui
