#include "exchange/label_import.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "common/cp1251.h"
#include "common/file_paths.h"
#include "common/program_error.h"
#include "exchange/delimited_text.h"
#include "exchange/label_export.h"
#include "labels/colour_reindex.h"
#include "labels/edit_table.h"
#include "labels/read_label_table.h"

namespace trelvanox {

namespace {

struct TFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

namespace fs = std::filesystem;

[[noreturn]] void ThrowCannotOpen(const std::string& path, int error) {
    throw TProgramError("Cannot open file \"" + path + "\". " + std::strerror(error));
}

std::string LimitText() {
    return std::to_string(kMaxTableFileBytes / (1024 * 1024)) + " МБ";
}

// Refuses, before anything is read, a source that is neither a regular file nor a folder (whose
// read fails with the system's reason) or that is larger than the limit: a device or a FIFO
// may never end, and reading it whole would exhaust memory.
void CheckTableSource(const std::string& path) {
    std::error_code error;
    const fs::path file = PathFromUtf8(path);
    const fs::file_status status = fs::status(file, error);
    if (status.type() == fs::file_type::regular) {
        const std::uintmax_t size = fs::file_size(file, error);
        if (!error && size > kMaxTableFileBytes) throw TProgramError(OversizedTableMessage(path));
        return;
    }
    const bool readTellsWhy = error || status.type() == fs::file_type::not_found ||
                              status.type() == fs::file_type::directory;
    if (readTellsWhy) return;
    throw TProgramError(NotRegularTableMessage(path));
}

constexpr int kMaxGridSize = std::numeric_limits<int>::max();

int GridSize(std::size_t count) {
    return static_cast<int>(std::min<std::size_t>(count, kMaxGridSize));
}

// The records of a table the export wrote (see BuildExportText): TAB between cells, CR LF after
// each record (a lone LF too, for a file an editor saved again), a cell in double quotes, with
// its quotes doubled, when it holds a quote or a control character. Nothing when the text does
// not begin with the export's title record.
std::optional<TStringGrid> ParseExportedTable(std::string_view text) {
    constexpr std::size_t kCols = static_cast<std::size_t>(TReadLabelColumn::Count);
    TStringGrid titles(static_cast<int>(kCols), 1);
    SetReadLabelCaptions(titles);
    // Compared with the line ends an editor may have changed to LF alone.
    const auto lfOnly = [](std::string_view from) {
        std::string to;
        for (std::size_t i = 0; i < from.size(); ++i)
            if (from[i] != '\r' || i + 1 >= from.size() || from[i + 1] != '\n')
                to.push_back(from[i]);
        return to;
    };
    const std::string titleRecord = lfOnly(DecodeCp1251(BuildExportText(titles)));
    if (!lfOnly(text.substr(0, titleRecord.size() * 2)).starts_with(titleRecord))
        return std::nullopt;

    std::vector<std::vector<std::string>> records(1);
    std::string cell;
    bool quoted = false;
    bool cellStarted = false;
    const auto endCell = [&] {
        records.back().push_back(std::move(cell));
        cell.clear();
        cellStarted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"')
                cell.push_back(c);
            else if (i + 1 < text.size() && text[i + 1] == '"')
                cell.push_back(text[++i]);
            else
                quoted = false;
            continue;
        }
        if (c == '"' && !cellStarted) {
            quoted = cellStarted = true;
        } else if (c == '\t') {
            endCell();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            endCell();
            records.emplace_back();
        } else {
            cell.push_back(c);
            cellStarted = true;
        }
    }
    if (cellStarted || !records.back().empty()) endCell();
    if (records.back().empty()) records.pop_back();

    TStringGrid table(static_cast<int>(kCols), GridSize(records.size()));
    for (std::size_t row = 0; row < records.size(); ++row)
        for (std::size_t col = 0; col < records[row].size() && col < kCols; ++col)
            table.SetCell(static_cast<int>(col), GridSize(row), std::move(records[row][col]));
    return table;
}

}  // namespace

void FillGridFromDelimitedText(TStringGrid& grid, std::string_view fileBytes, char delimiter) {
    // A table this program exported goes back into the rows it came from, as the table transfer
    // would put the read-label table: the numbers, texts and coordinates, the colours indexed.
    if (std::optional<TStringGrid> exported = ParseExportedTable(DecodeTextFile(fileBytes))) {
        std::uint32_t labels = 0;
        while (labels + 1 < static_cast<std::uint32_t>(exported->RowCount()) &&
               !exported->Cell(0, static_cast<int>(labels + 1)).empty())
            ++labels;
        TranslateLabelTable(*exported, labels, grid);
        return;
    }
    ClearGridCells(grid, 0, 1);

    const std::vector<std::string> lines = DecodeTextLines(fileBytes);
    std::vector<std::vector<std::string>> rows(lines.empty() ? 0 : lines.size() - 1);
    std::size_t widest = 0;
    for (std::size_t k = 1; k < lines.size(); ++k) {
        std::vector<std::string>& fields = rows[k - 1];
        SplitDelimitedLine(EncodeCp1251(lines[k]), delimiter, fields);
        for (std::string& field : fields) field = DecodeCp1251(field);
        widest = std::max(widest, fields.size());
    }

    // The grid grows to hold every line and every field, and never shrinks.
    if (lines.size() > static_cast<std::size_t>(grid.RowCount()))
        grid.SetRowCount(GridSize(lines.size()));
    if (widest > static_cast<std::size_t>(grid.ColCount())) grid.SetColCount(GridSize(widest));

    for (std::size_t k = 0; k < rows.size(); ++k) {
        int col = 0;
        for (std::string& field : rows[k]) grid.SetCell(col++, GridSize(k + 1), std::move(field));
    }
    SetEditTableCaptions(grid);
}

std::string OversizedTableMessage(std::string_view path) {
    return "Таблица не импортирована: файл \"" + std::string(path) + "\" больше " + LimitText() +
           ". Импортируется текстовый файл не больше " + LimitText() + ".";
}

std::string NotRegularTableMessage(std::string_view path) {
    return "Таблица не импортирована: \"" + std::string(path) +
           "\" - не обычный файл (устройство или канал). Импортируется обычный текстовый файл "
           "не больше " +
           LimitText() + ".";
}

std::string ReadWholeFile(const std::string& path) {
    CheckTableSource(path);
    // Windows opens a folder as a file it may not read; the reason is the same on every system.
    std::error_code ignored;
    if (fs::is_directory(PathFromUtf8(path), ignored)) ThrowCannotOpen(path, EISDIR);
    errno = 0;
    const std::unique_ptr<std::FILE, TFileCloser> file(OpenCFile(PathFromUtf8(path), "rb"));
    if (!file) ThrowCannotOpen(path, errno);
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
        bytes.append(buffer, got);
        // A file that grows while it is read is held to the same limit.
        if (bytes.size() > kMaxTableFileBytes) throw TProgramError(OversizedTableMessage(path));
        if (got < sizeof buffer) break;
    }
    if (std::ferror(file.get())) ThrowCannotOpen(path, errno != 0 ? errno : EIO);
    return bytes;
}

void ImportDelimitedFile(TStringGrid& grid, const std::string& path, char delimiter) {
    // Read whole before the table is touched: a file that cannot be read leaves it as it was.
    const std::string bytes = ReadWholeFile(path);
    FillGridFromDelimitedText(grid, bytes, delimiter);
}

}  // namespace trelvanox
