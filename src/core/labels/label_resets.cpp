#include "labels/label_resets.h"

#include <algorithm>

namespace trelvanox {

void ResetTracePositions(TRadargram& model) {
    if (!model.HasHeader()) return;
    for (TTraceHeader& trace : model.TraceHeaders()) trace.Coordinate = 0;
}

void ResetLabelNames(TRadargram& model) {
    if (!model.HasHeader()) return;
    const auto records = model.LabelRecords();
    const std::size_t n = std::min<std::size_t>(model.LabelTotal(), records.size());
    for (TLabelRecord& record : records.first(n)) {
        record.LabelText[0] = '\0';
        record.LabelNumber = 1;
    }
}

}  // namespace trelvanox
