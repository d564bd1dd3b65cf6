#include "history/step_text.h"

#include <algorithm>

#include "i18n/label_text.h"
#include "values/param_catalogue.h"
#include "values/param_display_name.h"

namespace rmt4 {
namespace {

/// `format` with each "%s" taken in turn from `texts` and "%d" as `count`.
std::string Filled(std::string_view format, std::initializer_list<std::string> texts, std::size_t count = 0) {
  std::string filled(format);
  for (const std::string& text : texts) {
    const std::size_t at = filled.find("%s");
    if (at == std::string::npos) break;
    filled.replace(at, 2, text);
  }
  if (const std::size_t at = filled.find("%d"); at != std::string::npos) filled.replace(at, 2, std::to_string(count));
  return filled;
}

/// A word ParamSet writes along with another one says nothing of its own.
bool Linked(ParamAddress address) { return ParamAt(address).name.ends_with(".linked"); }

std::string StepName(StepKind kind) {
  switch (kind) {
    case StepKind::kSceneUpload:
      return std::string(LabelText(LabelId::SceneUploadStep));
    case StepKind::kModeRecall:
      return std::string(LabelText(LabelId::ModeRecallStep));
    case StepKind::kEffectRecall:
      return std::string(LabelText(LabelId::EffectRecallStep));
    case StepKind::kGesture:
      break;
  }
  return {};
}

std::string Description(const HistoryStep& step, bool back) {
  std::vector<const ParamChange*> told;
  for (const ParamChange& change : step.changes) {
    if (!Linked(change.address)) told.push_back(&change);
  }
  if (told.empty()) return StepName(step.kind);
  if (told.size() == 1 && step.kind == StepKind::kGesture) {
    const ParamChange& change = *told.front();
    const std::uint16_t from = back ? change.after : change.before;
    const std::uint16_t to = back ? change.before : change.after;
    return Filled(LabelText(back ? LabelId::ValueBackFromTo : LabelId::ValueFromTo),
                  {ParamDisplayName(change.address), FormatValue(change.address, from), FormatValue(change.address, to)});
  }
  const std::string what = step.kind == StepKind::kGesture ? ParamDisplayName(told.front()->address) : StepName(step.kind);
  return Filled(LabelText(LabelId::StepValues), {what}, told.size());
}

}  // namespace

std::string UndoTip(const HistoryStep& step, bool back) {
  return Filled(LabelText(back ? LabelId::UndoTip : LabelId::RedoTip), {Description(step, back)});
}

std::string ChangedOnConsoleQuestion(const std::vector<ParamAddress>& words, bool back) {
  // A recall may meet hundreds: the question stays readable.
  constexpr int kNamedAtMost = 5;
  std::string names;
  int named = 0;
  for (ParamAddress address : words) {
    if (Linked(address) && words.size() > 1) continue;
    if (named == kNamedAtMost) {
      names += ", ...";
      break;
    }
    if (named++ > 0) names += ", ";
    names += ParamDisplayName(address);
  }
  return Filled(LabelText(back ? LabelId::UndoChangedOnConsole : LabelId::RedoChangedOnConsole), {names});
}

}  // namespace rmt4
