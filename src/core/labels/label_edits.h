#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/program_error.h"
#include "labels/label_edit.h"
#include "model/radargram.h"

namespace trelvanox {

// An edit of the labels that cannot be made as asked (a trace outside the file, no label where
// one is needed, a label in the way, a text the field cannot hold); the message says which, in
// Russian, and nothing has changed.
class TLabelEditError : public TProgramError {
  public:
    using TProgramError::TProgramError;
};

// One label as the read-label table shows it: its trace, the bytes of its text as the file
// holds them (Windows-1251, without the NUL), and its colour.
struct TLabelEntry {
    std::uint32_t Trace = 0;
    bool HasText = false;  // false for a label without text (LabelIndex 1)
    std::string TextBytes;
    std::uint32_t Color = 0;
    bool operator==(const TLabelEntry&) const = default;
};

// The labels of the model in trace order, each with the text of the record its LabelIndex names
// and the colour of the record at its position, as the read-label table shows them.
std::vector<TLabelEntry> CurrentLabels(const TRadargram& model);

// Stores the labels in the form the label write-back leaves: the k-th labelled trace carries
// LabelIndex k + 2, record k holds its text, LabelNumber k + 2 and colour, LabelCount is the
// number of labels and every other trace has LabelIndex 0. Bytes that already hold their value
// are not touched, so that a write stores only what the edit changed. Counts the labels again.
void StoreLabels(TRadargram& model, const std::vector<TLabelEntry>& labels);

// The text in Windows-1251 when the label field holds it whole; otherwise TLabelEditError
// naming the reason (too long, or characters the code page lacks).
std::string LabelTextBytes(std::string_view utf8);

// Each returns the edit for the document to apply as one step, or nothing when the labels would
// stay as they are (no history step is due); a request that cannot be met throws
// TLabelEditError before anything changes. Traces are zero-based.

// A label on trace with the text (UTF-8) and colour (0x00BBGGRR).
std::optional<TLabelEdit> AddLabelEdit(const TRadargram& model, std::uint32_t trace,
                                       std::string_view text, std::uint32_t color);
// The label of trace from to trace to, with its text and colour; coordinates stay with traces.
std::optional<TLabelEdit> MoveLabelEdit(const TRadargram& model, std::uint32_t from,
                                        std::uint32_t to);
std::optional<TLabelEdit> DeleteLabelEdit(const TRadargram& model, std::uint32_t trace);
// The text and/or the colour of the label of trace; what is not given stays.
std::optional<TLabelEdit> SetLabelEdit(const TRadargram& model, std::uint32_t trace,
                                       std::optional<std::string_view> text,
                                       std::optional<std::uint32_t> color);

// The position in labels (trace order) of the label of trace, if it has one.
std::optional<std::size_t> FindLabel(const std::vector<TLabelEntry>& labels, std::uint32_t trace);

}  // namespace trelvanox
