#include "exchange/label_import.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <system_error>
#include <utility>
#include <vector>

#include "common/cp1251.h"
#include "common/file_paths.h"
#include "common/program_error.h"
#include "exchange/delimited_text.h"
#include "labels/edit_table.h"

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

}  // namespace

void FillGridFromDelimitedText(TStringGrid& grid, std::string_view fileBytes, char delimiter) {
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
    CheckTableSource(path);  // a refused source leaves the table as it was
    ClearGridCells(grid, 0, 1);
    FillGridFromDelimitedText(grid, ReadWholeFile(path), delimiter);
}

}  // namespace trelvanox
