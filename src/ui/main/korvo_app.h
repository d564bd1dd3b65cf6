#pragma once

namespace rmt4::ui {

/// The application object: sets up the window system, keeps the program to a
/// single instance, runs the main window until it closes.
class CKorvoApp {
 public:
  static int Run(int argc, char** argv);
};

}  // namespace rmt4::ui
