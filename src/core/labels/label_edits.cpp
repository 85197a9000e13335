#include "labels/label_edits.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "common/cp1251.h"

namespace trelvanox {

namespace {

constexpr std::uint32_t kFirstTextIndex = 2;

std::string FieldBytes(const char (&field)[kTextFieldSize]) {
    const char* end = std::find(field, field + kTextFieldSize, '\0');
    return std::string(field, end);
}

// The traces the header counts; the model holds exactly as many after a complete read.
std::span<const TTraceHeader> Traces(const TRadargram& model) {
    const auto traces = model.TraceHeaders();
    return traces.first(std::min<std::size_t>(traces.size(), model.Header().TraceCount));
}

void RequireFile(const TRadargram& model) {
    if (!model.HasHeader()) throw TLabelEditError("Радарограмма не прочитана.");
}

void RequireTrace(const TRadargram& model, std::uint32_t trace) {
    const std::size_t count = Traces(model).size();
    if (count == 0) throw TLabelEditError("В радарограмме нет трасс.");
    if (trace >= count)
        throw TLabelEditError("Трассы " + std::to_string(trace) +
                              " нет: номер трассы должен быть "
                              "от 0 до " +
                              std::to_string(count - 1) + ".");
}

std::size_t RequireLabel(const std::vector<TLabelEntry>& labels, std::uint32_t trace) {
    const auto at = FindLabel(labels, trace);
    if (!at) throw TLabelEditError("На трассе " + std::to_string(trace) + " нет метки.");
    return *at;
}

void RequireFree(const std::vector<TLabelEntry>& labels, std::uint32_t trace) {
    if (FindLabel(labels, trace))
        throw TLabelEditError("На трассе " + std::to_string(trace) + " уже есть метка.");
}

TLabelEdit StoreEdit(std::string description, std::vector<TLabelEntry> labels) {
    return {std::move(description),
            [labels = std::move(labels)](TRadargram& model) { StoreLabels(model, labels); }};
}

// Copies the text and its NUL into the field unless the field already reads as that text; the
// bytes behind the NUL stay, as with every text the program writes.
void PutText(char (&field)[kTextFieldSize], const std::string& bytes) {
    if (FieldBytes(field) == bytes) return;
    std::memcpy(field, bytes.data(), bytes.size());
    if (bytes.size() < kTextFieldSize) field[bytes.size()] = '\0';
}

}  // namespace

std::vector<TLabelEntry> CurrentLabels(const TRadargram& model) {
    std::vector<TLabelEntry> labels;
    if (!model.HasHeader()) return labels;
    const auto traces = Traces(model);
    for (std::size_t t = 0; t < traces.size(); ++t) {
        const std::uint32_t index = traces[t].LabelIndex;
        if (index == 0) continue;
        TLabelEntry& label = labels.emplace_back();
        label.Trace = static_cast<std::uint32_t>(t);
        if (index >= kFirstTextIndex) {
            label.HasText = true;
            // The index comes from the file and may name no slot at all.
            if (const TLabelRecord* record = model.FindLabelRecord(std::uint64_t{index} - 2))
                label.TextBytes = FieldBytes(record->LabelText);
        }
        // The colour follows the label's position, as the read-label table shows it.
        if (const TLabelRecord* record = model.FindLabelRecord(labels.size() - 1))
            label.Color = record->LabelColor;
    }
    return labels;
}

std::optional<std::size_t> FindLabel(const std::vector<TLabelEntry>& labels, std::uint32_t trace) {
    const auto it =
        std::lower_bound(labels.begin(), labels.end(), trace,
                         [](const TLabelEntry& label, std::uint32_t t) { return label.Trace < t; });
    if (it == labels.end() || it->Trace != trace) return std::nullopt;
    return static_cast<std::size_t>(it - labels.begin());
}

void StoreLabels(TRadargram& model, const std::vector<TLabelEntry>& labels) {
    const auto traces = model.TraceHeaders();
    const auto records = model.LabelRecords();
    std::size_t next = 0;
    for (std::size_t t = 0; t < traces.size(); ++t) {
        std::uint32_t index = 0;
        if (next < labels.size() && labels[next].Trace == t)
            index = static_cast<std::uint32_t>(next++ + kFirstTextIndex);
        if (traces[t].LabelIndex != index) traces[t].LabelIndex = index;
    }
    for (std::size_t k = 0; k < labels.size() && k < records.size(); ++k) {
        TLabelRecord& record = records[k];
        const auto number = static_cast<std::int32_t>(k + kFirstTextIndex);
        if (record.LabelNumber != number) record.LabelNumber = number;
        if (record.LabelColor != labels[k].Color) record.LabelColor = labels[k].Color;
        PutText(record.LabelText, labels[k].TextBytes);
    }
    model.Header().LabelCount = static_cast<std::uint32_t>(labels.size());
    model.RecountLabels();
}

std::string LabelTextBytes(std::string_view utf8) {
    std::string bytes = EncodeCp1251(utf8);
    if (DecodeCp1251(bytes) != utf8)
        throw TLabelEditError("Подпись «" + std::string(utf8) +
                              "» содержит знаки, которых нет в кодировке Windows-1251.");
    if (bytes.size() > kTextFieldSize - 1)
        throw TLabelEditError("Подпись «" + std::string(utf8) + "» длиннее " +
                              std::to_string(kTextFieldSize - 1) + " знаков (" +
                              std::to_string(bytes.size()) + ").");
    return bytes;
}

std::optional<TLabelEdit> AddLabelEdit(const TRadargram& model, std::uint32_t trace,
                                       std::string_view text, std::uint32_t color) {
    RequireFile(model);
    RequireTrace(model, trace);
    std::vector<TLabelEntry> labels = CurrentLabels(model);
    RequireFree(labels, trace);
    TLabelEntry label{trace, true, LabelTextBytes(text), color};
    if (labels.size() + 1 > model.LabelRecords().size())
        throw TLabelEditError("Больше меток радарограмма не вмещает.");
    const auto at =
        std::lower_bound(labels.begin(), labels.end(), trace,
                         [](const TLabelEntry& l, std::uint32_t t) { return l.Trace < t; });
    labels.insert(at, std::move(label));
    return StoreEdit("Добавление метки на трассе " + std::to_string(trace), std::move(labels));
}

std::optional<TLabelEdit> MoveLabelEdit(const TRadargram& model, std::uint32_t from,
                                        std::uint32_t to) {
    RequireFile(model);
    RequireTrace(model, from);
    RequireTrace(model, to);
    std::vector<TLabelEntry> labels = CurrentLabels(model);
    const std::size_t at = RequireLabel(labels, from);
    if (from == to) return std::nullopt;
    RequireFree(labels, to);
    TLabelEntry label = std::move(labels[at]);
    labels.erase(labels.begin() + static_cast<std::ptrdiff_t>(at));
    label.Trace = to;
    // A label without text gets an empty one: every label is stored with a record of its own.
    label.HasText = true;
    const auto into =
        std::lower_bound(labels.begin(), labels.end(), to,
                         [](const TLabelEntry& l, std::uint32_t t) { return l.Trace < t; });
    labels.insert(into, std::move(label));
    return StoreEdit(
        "Перенос метки с трассы " + std::to_string(from) + " на трассу " + std::to_string(to),
        std::move(labels));
}

std::optional<TLabelEdit> DeleteLabelEdit(const TRadargram& model, std::uint32_t trace) {
    RequireFile(model);
    RequireTrace(model, trace);
    std::vector<TLabelEntry> labels = CurrentLabels(model);
    const std::size_t at = RequireLabel(labels, trace);
    labels.erase(labels.begin() + static_cast<std::ptrdiff_t>(at));
    return StoreEdit("Удаление метки на трассе " + std::to_string(trace), std::move(labels));
}

std::optional<TLabelEdit> SetLabelEdit(const TRadargram& model, std::uint32_t trace,
                                       std::optional<std::string_view> text,
                                       std::optional<std::uint32_t> color) {
    RequireFile(model);
    RequireTrace(model, trace);
    std::vector<TLabelEntry> labels = CurrentLabels(model);
    TLabelEntry& label = labels[RequireLabel(labels, trace)];
    const TLabelEntry before = label;
    if (text) {
        label.TextBytes = LabelTextBytes(*text);
        label.HasText = true;
    }
    if (color) label.Color = *color;
    if (label == before) return std::nullopt;
    return StoreEdit("Изменение метки на трассе " + std::to_string(trace), std::move(labels));
}

}  // namespace trelvanox
