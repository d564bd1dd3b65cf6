// rmt4: the RMT-4 console's remote-control program.
#include "ui/main/korvo_app.h"

int main(int argc, char** argv) { return rmt4::ui::CKorvoApp::Run(argc, argv); }
