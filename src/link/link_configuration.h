#pragma once

#include <functional>
#include <string>

#include "platform/app_folders.h"
#include "protocol/connection_kind.h"

namespace rmt4 {

/// What the link worker reads once when it starts.
struct LinkConfiguration {
  ConnectionKind connectionKind = kUsbHid;
  int serialBaudRate = 128000;
};

/// The stored transport and serial speed, with RMT4_CONNECTION_KIND (same
/// numbers as the setting) taking the place of the stored transport when set.
[[nodiscard]] LinkConfiguration ReadLinkConfiguration(const AppFolders& folders);

/// The wire trace file RMT4_TRACE names; empty when it is not set.
[[nodiscard]] std::string TracePathFromEnvironment();

}  // namespace rmt4
