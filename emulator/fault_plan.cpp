#include "emulator/fault_plan.h"

namespace rmt4::emulator {

Delivery FaultPlan::Decide(std::span<const std::uint8_t> message) {
  std::lock_guard lock(mutex_);
  Delivery delivery;
  if (Chance(options_.dropProbability)) {
    delivery.drop = true;
    return delivery;
  }
  delivery.bytes.assign(message.begin(), message.end());
  if (!delivery.bytes.empty() && Chance(options_.corruptProbability)) {
    // One flipped bit: the CRC of a frame always catches it.
    std::uniform_int_distribution<std::size_t> at(0, delivery.bytes.size() - 1);
    std::uniform_int_distribution<int> bit(0, 7);
    const std::size_t index = at(random_);
    delivery.bytes[index] = static_cast<std::uint8_t>(delivery.bytes[index] ^ (1u << bit(random_)));
  }
  if (options_.delay.count() > 0 && Chance(options_.delayProbability)) delivery.delay = options_.delay;
  return delivery;
}

std::vector<std::size_t> FaultPlan::Pieces(std::size_t size) {
  if (options_.pieceMaxBytes == 0 || size == 0) return {size};
  std::lock_guard lock(mutex_);
  std::uniform_int_distribution<std::size_t> length(1, options_.pieceMaxBytes);
  std::vector<std::size_t> pieces;
  for (std::size_t left = size; left > 0;) {
    const std::size_t piece = std::min(left, length(random_));
    pieces.push_back(piece);
    left -= piece;
  }
  return pieces;
}

bool FaultPlan::Chance(double probability) {
  if (probability <= 0.0) return false;
  if (probability >= 1.0) return true;
  return std::bernoulli_distribution(probability)(random_);
}

}  // namespace rmt4::emulator
