#pragma once

#include <cstdint>
#include <vector>

#include "model/radargram.h"

namespace trelvanox::test {

// Every byte an editing command may change: the header, the trace headers and the label record
// slots, one after the other; two snapshots compare equal when nothing of these changed.
std::vector<std::uint8_t> Snapshot(const TRadargram& model);

}  // namespace trelvanox::test
