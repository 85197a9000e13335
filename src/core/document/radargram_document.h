#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/string_grid.h"
#include "labels/read_label_table.h"
#include "model/file_messages.h"
#include "model/radar_layout.h"
#include "model/radargram.h"

namespace trelvanox {

// What changed in a document, for those who show it.
enum class TDocumentChange {
    Read,         // a complete read: model, both tables, counts, length and size are new
    ReadFailed,   // a read that did not complete: the read-label table is empty and the size is
                  // that of the file tried, when it could be opened; all else is as before
    HeaderTable,  // the header table and the profile length were filled again from the model
    Written,      // the model was stored into a file
};

// The outcome of a document operation: success, or the message the window or the batch tool
// shows for the failure (text, caption, icon). The document itself shows nothing.
struct TDocumentResult {
    std::optional<TFileMessage> Message;  // empty on success

    bool Ok() const { return !Message; }
    std::int32_t Code() const { return Ok() ? 0 : 1; }
};

// The radargram file that is open: the model and everything shown of it (the header table with
// the profile length, the read-label table with its three counts, the file's size), the path it
// was read from and the layout it was read with. The desktop program and the batch tool both
// reach the reader and the writer through it, and any number of views follow it through its
// observers.
//
// The model and the tables are the document's; callers change the model through Model() and
// then write, and may edit the tables' cells as a user edits the grids. The observers are called
// on the caller's thread, after the change, in the order they subscribed.
class TRadargramDocument {
  public:
    using TObserver = std::function<void(TDocumentChange)>;

    TRadargramDocument();
    TRadargramDocument(const TRadargramDocument&) = delete;
    TRadargramDocument& operator=(const TRadargramDocument&) = delete;

    // Reads the file at path in the layout. The read-label table starts empty (titles, standard
    // row count) whatever the outcome; on success the model, both tables and the counts show the
    // file, on failure they keep the previous file's contents.
    TDocumentResult Open(const std::filesystem::path& path, TRadarLayout layout);
    // Reads the file of the last complete read again, in the layout the document has.
    TDocumentResult ReadAgain();
    // Stores the model in place into the file at path (it must be the file last read) in the
    // layout; the layout becomes the document's once the write succeeded.
    TDocumentResult Write(const std::filesystem::path& path, TRadarLayout layout);
    TDocumentResult Write();  // into Path(), in Layout()
    // As Write, with the traces packed without the gaps.
    TDocumentResult WriteWithoutGaps(const std::filesystem::path& path);
    TDocumentResult WriteWithoutGaps();  // into Path()
    // Success once a file has been read; otherwise the writer's "not read" message, for the
    // commands that must change nothing without a file.
    TDocumentResult RequireRead() const;
    // Fills the header table and the profile length again from the model, which may have been
    // changed since the read.
    void RefillHeaderTable();

    TRadargram& Model() { return model_; }
    const TRadargram& Model() const { return model_; }
    // The path as given to the last complete read (empty before it) and its layout.
    const std::filesystem::path& Path() const { return path_; }
    TRadarLayout Layout() const { return layout_; }
    // The size of the file the last read tried, when it could be opened.
    std::optional<std::uint64_t> FileSize() const { return fileSize_; }

    TStringGrid& HeaderTable() { return headerTable_; }
    const TStringGrid& HeaderTable() const { return headerTable_; }
    const std::string& ProfileLengthText() const { return profileLength_; }
    TStringGrid& ReadLabelTable() { return readLabelTable_; }
    const TStringGrid& ReadLabelTable() const { return readLabelTable_; }
    const TReadLabelCounts& LabelCounts() const { return labelCounts_; }

    // Returns the key that Unsubscribe takes.
    int Subscribe(TObserver observer);
    void Unsubscribe(int key);

  private:
    void Notify(TDocumentChange change);
    void FillTables();

    TRadargram model_;
    std::filesystem::path path_;
    TRadarLayout layout_ = TRadarLayout::Gpr2;
    std::optional<std::uint64_t> fileSize_;
    TStringGrid headerTable_;
    std::string profileLength_;
    TStringGrid readLabelTable_;
    TReadLabelCounts labelCounts_;
    std::vector<std::pair<int, TObserver>> observers_;
    int nextKey_ = 0;
};

}  // namespace trelvanox
