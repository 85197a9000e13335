#include "model_snapshot.h"

namespace trelvanox::test {

std::vector<std::uint8_t> Snapshot(const TRadargram& model) {
    std::vector<std::uint8_t> bytes;
    auto add = [&](const void* p, std::size_t size) {
        const auto* b = static_cast<const std::uint8_t*>(p);
        bytes.insert(bytes.end(), b, b + size);
    };
    add(&model.Header(), sizeof(TRadarHeader));
    for (const TTraceHeader& t : model.TraceHeaders()) add(&t, sizeof t);
    for (const TLabelRecord& r : model.LabelRecords()) add(&r, sizeof r);
    return bytes;
}

}  // namespace trelvanox::test
