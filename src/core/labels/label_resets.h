#pragma once

#include "model/radargram.h"

namespace trelvanox {

// Sets the coordinate of every trace to 0. Does nothing without a header.
void ResetTracePositions(TRadargram& model);

// Empties the text of label records 0 to LabelTotal - 1 (first byte 0, the rest of the field
// kept) and sets their LabelNumber to 1. The traces keep their LabelIndex, so the label counts
// stay as they are. Does nothing without a header.
void ResetLabelNames(TRadargram& model);

}  // namespace trelvanox
