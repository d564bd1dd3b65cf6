#pragma once

#include "emulator/console_responder.h"
#include "emulator/link_hub.h"
#include "emulator/logger.h"
#include "emulator/stop_signal.h"
#include "emulator/stream_writer.h"

namespace rmt4::emulator {

/// What a byte-stream link of the console (TCP, pseudo-terminal) works with.
struct StreamLinkServices {
  ConsoleResponder& console;
  LinkHub& hub;
  StreamShaping shaping;
  Logger& log;
  const StopSignal& stop;
};

}  // namespace rmt4::emulator
