#include "document/radargram_document.h"

#include <algorithm>

#include "header/header_table.h"
#include "model/radargram_io.h"

namespace trelvanox {

namespace {

TDocumentResult ReadOutcome(const TReadResult& read) {
    return {ReadFailureMessage(read.Status)};
}

TDocumentResult WriteOutcome(const TWriteResult& write) {
    return {WriteFailureMessage(write.Status)};
}

}  // namespace

TRadargramDocument::TRadargramDocument()
    : headerTable_(static_cast<int>(THeaderTableColumn::Count), kHeaderTableRows),
      readLabelTable_(static_cast<int>(TReadLabelColumn::Count), kReadLabelRows) {
    SetHeaderTableCaptions(headerTable_);
    SetReadLabelCaptions(readLabelTable_);
}

TDocumentResult TRadargramDocument::Open(const std::filesystem::path& path, TRadarLayout layout) {
    // A read that grew the table for a file with many labels must not leave the next file's
    // table (and its export) longer than the standard.
    ClearGridCells(readLabelTable_, 0, 1);
    readLabelTable_.SetRowCount(kReadLabelRows);
    SetReadLabelCaptions(readLabelTable_);

    const TReadResult read = ReadRadargram(model_, path, layout);
    fileSize_ = read.FileSize;
    const TDocumentResult result = ReadOutcome(read);
    if (result.Ok()) {
        path_ = path;
        layout_ = layout;
        FillTables();
    }
    Notify(result.Ok() ? TDocumentChange::Read : TDocumentChange::ReadFailed);
    return result;
}

TDocumentResult TRadargramDocument::ReadAgain() {
    // Copied: Open replaces the path it is given.
    const std::filesystem::path path = path_;
    return Open(path, layout_);
}

TDocumentResult TRadargramDocument::Write(const std::filesystem::path& path, TRadarLayout layout) {
    const TDocumentResult result = WriteOutcome(WriteRadargram(model_, path, layout));
    if (result.Ok()) {
        layout_ = layout;
        Notify(TDocumentChange::Written);
    }
    return result;
}

TDocumentResult TRadargramDocument::Write() {
    return Write(path_, layout_);
}

TDocumentResult TRadargramDocument::WriteWithoutGaps(const std::filesystem::path& path) {
    const TDocumentResult result = WriteOutcome(WriteRadargramWithoutGaps(model_, path));
    if (result.Ok()) Notify(TDocumentChange::Written);
    return result;
}

TDocumentResult TRadargramDocument::WriteWithoutGaps() {
    return WriteWithoutGaps(path_);
}

TDocumentResult TRadargramDocument::RequireRead() const {
    if (model_.HasHeader()) return {};
    return {WriteFailureMessage(TWriteStatus::NotLoaded)};
}

void TRadargramDocument::RefillHeaderTable() {
    profileLength_ = FillHeaderTable(headerTable_, model_.Header());
    Notify(TDocumentChange::HeaderTable);
}

void TRadargramDocument::FillTables() {
    profileLength_ = FillHeaderTable(headerTable_, model_.Header());
    labelCounts_ = FillReadLabelTable(readLabelTable_, model_);
}

int TRadargramDocument::Subscribe(TObserver observer) {
    observers_.emplace_back(nextKey_, std::move(observer));
    return nextKey_++;
}

void TRadargramDocument::Unsubscribe(int key) {
    std::erase_if(observers_, [key](const auto& entry) { return entry.first == key; });
}

void TRadargramDocument::Notify(TDocumentChange change) {
    // By key, over a copy of the keys: an observer may subscribe or unsubscribe (itself or
    // another) while it is told, and one unsubscribed meanwhile is not told any more.
    std::vector<int> keys;
    keys.reserve(observers_.size());
    for (const auto& entry : observers_) keys.push_back(entry.first);
    for (const int key : keys) {
        const auto it = std::find_if(observers_.begin(), observers_.end(),
                                     [key](const auto& entry) { return entry.first == key; });
        if (it == observers_.end()) continue;
        // A copy: the observer may unsubscribe itself while it runs.
        const TObserver observer = it->second;
        observer(change);
    }
}

}  // namespace trelvanox
