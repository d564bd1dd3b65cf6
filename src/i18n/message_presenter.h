#pragma once

#include <cstdint>
#include <string_view>

namespace rmt4 {

/// Buttons a message box offers. The values are the window system's style
/// words, so a style read from elsewhere passes through unchanged.
enum class MessageStyle : std::uint32_t {
  Ok = 0,
  OkCancel = 1,
  YesNo = 4,
};

/// The button that closed a message box, with the window system's result codes.
enum class MessageButton : int {
  Ok = 1,
  Cancel = 2,
  Yes = 6,
  No = 7,
};

/// Raises modal message boxes for the link layer and the windows. The GUI shows
/// a real box, the command-line client answers on the terminal, tests record.
///
/// ShowMessage may be called from any thread and blocks that thread until the
/// user answers. `text` and `caption` are already in the interface language
/// (see LabelText); an empty caption means the main window's title. The box's
/// own buttons follow MessageLanguageId(CurrentLanguage()).
class MessagePresenter {
 public:
  virtual ~MessagePresenter() = default;

  virtual MessageButton ShowMessage(MessageStyle style, std::string_view text, std::string_view caption) = 0;
};

}  // namespace rmt4
