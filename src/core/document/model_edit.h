#pragma once

#include <functional>
#include <string>

#include "model/radargram.h"

namespace trelvanox {

// One change of the radargram as a value: what it does to the model and how the file's history
// names it. The document applies it inside its journalled write (TRadargramDocument::Change), so
// a write that fails or is refused leaves the model as the file is, in one place.
struct TModelEdit {
    std::string Description;
    std::function<void(TRadargram&)> Apply;
};

// Told how far a long write has come (0..1); returning false asks it to stop. A stopped write
// rolls back what it wrote, like a failed one.
using TWriteProgress = std::function<bool(double fraction)>;

}  // namespace trelvanox
