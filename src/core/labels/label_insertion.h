#pragma once

#include <string>

#include "common/program_error.h"
#include "model/radargram.h"

namespace trelvanox {

// The check boxes and the trace number of the insertion dialog.
struct TInsertLabelRequest {
    bool First = false;
    bool Last = false;
    bool Pointed = false;
    std::string TraceText = "0";  // zero-based trace number, used when Pointed
};

// A label asked for on a trace the radargram does not have; the message names the valid range.
class TTraceNumberError : public TProgramError {
  public:
    using TProgramError::TProgramError;
};

// Puts a label without text (LabelIndex 1) on the first, the last and the chosen trace, as the
// request asks; a trace with a label of its own gets LabelIndex 1 all the same.
// The trace number is converted and every asked-for trace checked before any label is set:
// a number that is not a whole number throws TConversionError, a trace outside 0 to
// TraceCount - 1 (or any trace at all in a radargram without traces) throws TTraceNumberError,
// and the model stays as it was. Requires a header; without one it does nothing.
void InsertLabels(TRadargram& model, const TInsertLabelRequest& request);

}  // namespace trelvanox
