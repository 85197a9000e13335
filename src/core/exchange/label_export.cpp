#include "exchange/label_export.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "common/cp1251.h"
#include "common/program_error.h"

namespace trelvanox {

namespace {

constexpr char kQuote = '"';
constexpr char kTab = '\t';
constexpr std::string_view kRecordEnd = "\r\n";

bool NeedsQuotes(std::string_view cell) {
    return std::any_of(cell.begin(), cell.end(),
                       [](char c) { return c == kQuote || static_cast<unsigned char>(c) <= 32; });
}

void AppendCell(std::string& out, std::string_view cell) {
    if (!NeedsQuotes(cell)) {
        out.append(cell);
        return;
    }
    out.push_back(kQuote);
    for (const char c : cell) {
        if (c == kQuote) out.push_back(kQuote);
        out.push_back(c);
    }
    out.push_back(kQuote);
}

[[noreturn]] void ThrowCannotCreate(const std::string& path, int error) {
    throw TProgramError("Cannot create file \"" + path + "\". " + std::strerror(error));
}

}  // namespace

std::string ExportFileNameFor(std::string_view radargramFileName) {
    return std::string(radargramFileName) + "_метки.txt";
}

std::string BuildExportText(const TStringGrid& grid) {
    std::string out;
    for (int row = 0; row < grid.RowCount(); ++row) {
        for (int col = 0; col < grid.ColCount(); ++col) {
            if (col > 0) out.push_back(kTab);
            AppendCell(out, EncodeCp1251(grid.Cell(col, row)));
        }
        out.append(kRecordEnd);
    }
    return out;
}

void WriteWholeFile(const std::string& path, std::string_view bytes) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) ThrowCannotCreate(path, errno);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        const int error = !written ? writeError : errno;
        std::remove(path.c_str());
        ThrowCannotCreate(path, error != 0 ? error : EIO);
    }
}

void ExportGridToFile(const TStringGrid& grid, const std::string& path) {
    WriteWholeFile(path, BuildExportText(grid));
}

}  // namespace trelvanox
