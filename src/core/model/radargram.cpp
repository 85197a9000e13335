#include "model/radargram.h"

#include <utility>

namespace trelvanox {

std::span<std::uint32_t> TRadargram::SampleTable() {
    return std::span(contents_.SampleTable).first(contents_.Header.SampleCount);
}

std::span<const std::uint32_t> TRadargram::SampleTable() const {
    return std::span(contents_.SampleTable).first(contents_.Header.SampleCount);
}

std::span<TTraceHeader> TRadargram::TraceHeaders() {
    return contents_.TraceHeaders;
}

std::span<const TTraceHeader> TRadargram::TraceHeaders() const {
    return contents_.TraceHeaders;
}

std::span<TLabelRecord> TRadargram::LabelRecords() {
    return contents_.LabelRecords;
}

std::span<const TLabelRecord> TRadargram::LabelRecords() const {
    return contents_.LabelRecords;
}

void TRadargram::RecountLabels() {
    std::uint32_t withText = 0;
    std::uint32_t withoutText = 0;
    for (const TTraceHeader& trace : contents_.TraceHeaders) {
        if (trace.LabelIndex == 1)
            ++withoutText;
        else if (trace.LabelIndex > 1)
            ++withText;
    }
    contents_.LabelsWithText = withText;
    contents_.LabelsWithoutText = withoutText;
    contents_.LabelTotal = withText + withoutText;
}

const TLabelRecord* TRadargram::FindLabelRecord(std::uint64_t k) const {
    const auto slots = LabelRecords();
    return k < slots.size() ? &slots[k] : nullptr;
}

std::span<float> TRadargram::Samples(std::uint32_t t) {
    return matrix_.Row(t).first(contents_.Header.SampleCount);
}

std::span<const float> TRadargram::Samples(std::uint32_t t) const {
    return matrix_.Row(t).first(contents_.Header.SampleCount);
}

void TRadargram::CommitSpareContents(std::filesystem::path sourcePath) {
    std::swap(contents_, spare_);
    sourcePath_ = std::move(sourcePath);
    fileLoaded_ = 1;
    samplesIntact_ = true;
}

void TRadargram::Replace(TRadargramContents&& contents, std::filesystem::path sourcePath) {
    spare_ = std::move(contents);
    CommitSpareContents(std::move(sourcePath));
}

}  // namespace trelvanox
