#pragma once

#include "protocol/param_table.h"

namespace rmt4 {

/// The channels the channel editor frame's header acts on: the channel being
/// edited (0..18), the input section's channel (0..11) and the output
/// section's bus (0 MAIN, 1..6 AUX1..AUX6).
struct HeaderSelection {
  int selected = 0;
  int input = 0;
  int output = 0;
};

/// Stores an edit of the frame's header (a header_code). `reading` is 1 for
/// a lit button and 0 for an unlit one, a fader's level word, or the
/// balance 0..200. Codes the selected channels do not have write nothing.
void WriteHeaderEdit(ParamTable& table, const HeaderSelection& selection, int code, int reading);

/// What a copy does with the target's phantom power.
enum class PhantomPowerCopy { kCopied, kTargetKept };

/// Whether copying input channel `from` onto `to` would switch phantom power
/// on at `to` (on at `from`, off at `to`): a copy that must be confirmed.
[[nodiscard]] bool CopySwitchesPhantomPowerOn(const ParamTable& table, int from, int to);

/// Copies the whole block of input channel `from` onto channel `to` (both
/// CH1..CH8), writing only the addresses whose values differ; with
/// kTargetKept the target's phantom power stays as it is. Returns how many
/// addresses it wrote; nothing for other channels or a copy onto itself.
int CopyChannelBlock(ParamTable& table, int from, int to, PhantomPowerCopy phantom = PhantomPowerCopy::kCopied);

/// Channels whose block the Copy menu may copy (CH1..CH8).
inline constexpr int kCopyableChannels = 8;

}  // namespace rmt4
