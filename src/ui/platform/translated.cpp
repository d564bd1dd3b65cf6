#include "ui/platform/translated.h"

#include "i18n/label_text.h"

namespace rmt4::ui {

QString Translated(LabelId id) {
  const std::string_view text = LabelText(id);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace rmt4::ui
