#pragma once

#include <functional>
#include <string>

#include "model/radargram.h"

namespace trelvanox {

// A change of the labels or of the trace coordinates as a value: how the file's history names
// it and what it does to the model. It has the shape of the document's TModelEdit and becomes
// one where the document applies it (TRadargramDocument::Change); the labels sit below the
// document, which shows them, so they do not name it here.
struct TLabelEdit {
    std::string Description;
    std::function<void(TRadargram&)> Apply;
};

}  // namespace trelvanox
