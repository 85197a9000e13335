#include "labels/label_insertion.h"

#include <cstdint>
#include <optional>

#include "common/conversion.h"

namespace trelvanox {

namespace {

constexpr std::uint32_t kLabelWithoutText = 1;

void CheckTrace(std::int64_t trace, std::size_t traceCount) {
    if (traceCount == 0)
        throw TTraceNumberError("В радарограмме нет трасс: метку вставить некуда.");
    if (trace < 0 || static_cast<std::uint64_t>(trace) >= traceCount)
        throw TTraceNumberError("Номер трассы должен быть от 0 до " +
                                std::to_string(traceCount - 1) + ".");
}

}  // namespace

void InsertLabels(TRadargram& model, const TInsertLabelRequest& request) {
    if (!model.HasHeader()) return;
    const auto traces = model.TraceHeaders();

    std::optional<std::int32_t> pointed;
    if (request.Pointed) pointed = StrToInt(request.TraceText);
    if (request.First || request.Last) CheckTrace(0, traces.size());
    if (pointed) CheckTrace(*pointed, traces.size());

    if (request.First) traces.front().LabelIndex = kLabelWithoutText;
    if (request.Last) traces.back().LabelIndex = kLabelWithoutText;
    if (pointed) traces[static_cast<std::size_t>(*pointed)].LabelIndex = kLabelWithoutText;
}

}  // namespace trelvanox
