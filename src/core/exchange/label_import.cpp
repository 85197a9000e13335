#include "exchange/label_import.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "common/cp1251.h"
#include "common/program_error.h"
#include "exchange/delimited_text.h"
#include "labels/edit_table.h"

namespace trelvanox {

namespace {

struct TFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

[[noreturn]] void ThrowCannotOpen(const std::string& path, int error) {
    throw TProgramError("Cannot open file \"" + path + "\". " + std::strerror(error));
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

    // One resize each way: growing cell by cell would copy a wide table again and again.
    if (lines.size() > static_cast<std::size_t>(grid.RowCount()))
        grid.SetRowCount(GridSize(lines.size()));
    if (widest > static_cast<std::size_t>(grid.ColCount())) grid.SetColCount(GridSize(widest));

    for (std::size_t k = 0; k < rows.size(); ++k) {
        int col = 0;
        for (std::string& field : rows[k]) grid.SetCell(col++, GridSize(k + 1), std::move(field));
    }
    SetEditTableCaptions(grid);
}

std::string ReadWholeFile(const std::string& path) {
    errno = 0;
    const std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) ThrowCannotOpen(path, errno);
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
        bytes.append(buffer, got);
        if (got < sizeof buffer) break;
    }
    if (std::ferror(file.get())) ThrowCannotOpen(path, errno != 0 ? errno : EIO);
    return bytes;
}

void ImportDelimitedFile(TStringGrid& grid, const std::string& path, char delimiter) {
    ClearGridCells(grid, 0, 1);
    FillGridFromDelimitedText(grid, ReadWholeFile(path), delimiter);
}

}  // namespace trelvanox
