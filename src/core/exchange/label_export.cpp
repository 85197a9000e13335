#include "exchange/label_export.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include "common/cp1251.h"
#include "common/file_paths.h"
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

namespace fs = std::filesystem;

[[noreturn]] void ThrowCannotCreate(const std::string& path, int error) {
    throw TProgramError("Cannot create file \"" + path + "\". " + std::strerror(error));
}

struct TFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The regular file a write replaces: the path or the file its symbolic links lead to. A file
// that does not exist yet is fine; anything else that is not a regular file, or a file that
// cannot be written, is refused before a byte is written.
fs::path ReplaceableTarget(const std::string& path, std::string_view notRegularMessage) {
    const std::optional<fs::path> target = ResolveSymlinks(PathFromUtf8(path));
    if (!target) ThrowCannotCreate(path, ELOOP);
    std::error_code error;
    const fs::file_type type = fs::symlink_status(*target, error).type();
    if (type == fs::file_type::not_found) return *target;
    if (error) ThrowCannotCreate(path, error.value());
    if (type != fs::file_type::regular) throw TProgramError(std::string(notRegularMessage));
    // The replacement would rename over a file its owner made read-only; opening it for update
    // without truncating asks the system the same question an in-place write would.
    errno = 0;
    const std::unique_ptr<std::FILE, TFileCloser> probe(OpenCFile(*target, "r+b"));
    if (!probe) ThrowCannotCreate(path, errno != 0 ? errno : EACCES);
    return *target;
}

}  // namespace

std::string ExportFileNameFor(std::string_view radargramFileName) {
    return std::string(radargramFileName) + "_метки.txt";
}

std::string BuildExportText(const TStringGrid& grid) {
    return BuildExportText(grid, TTextEncoding::Windows1251);
}

std::string BuildExportText(const TStringGrid& grid, TTextEncoding encoding) {
    const bool utf8 = encoding == TTextEncoding::Utf8;
    std::string out = utf8 ? std::string("\xEF\xBB\xBF") : std::string();
    for (int row = 0; row < grid.RowCount(); ++row) {
        for (int col = 0; col < grid.ColCount(); ++col) {
            if (col > 0) out.push_back(kTab);
            AppendCell(out, utf8 ? grid.Cell(col, row) : EncodeCp1251(grid.Cell(col, row)));
        }
        out.append(kRecordEnd);
    }
    return out;
}

std::string NotRegularFileMessage(std::string_view path) {
    return "Таблица не записана: \"" + std::string(path) +
           "\" - не обычный файл (папка, устройство или канал). Выберите другое имя файла.";
}

std::string WriteWholeFile(const std::string& path, std::string_view bytes,
                           const TFileWriteCall& write, const TFolderSyncCall& syncFolder) {
    return WriteFileInPieces(
        path, [bytes](const TPieceWriter& piece) { return piece(bytes); },
        NotRegularFileMessage(path), write, syncFolder);
}

void CheckReplaceableTarget(const std::string& path, std::string_view notRegularMessage) {
    ReplaceableTarget(path, notRegularMessage);
}

std::string WriteFileInPieces(const std::string& path, const TFileContent& content,
                              std::string_view notRegularMessage, const TFileWriteCall& write,
                              const TFolderSyncCall& syncFolder) {
    const fs::path target = ReplaceableTarget(path, notRegularMessage);
    errno = 0;
    bool renamed = false;
    if (ReplaceFileDurably(target, content, write, &renamed, syncFolder)) return {};
    // Once renamed the file holds the new content: a failure now would send the user to write
    // again what is already there. Only its place in the folder may not survive a power loss.
    if (renamed)
        return "Файл \"" + path +
               "\" записан, но не удалось убедиться, что он сохранён на диске (сбой "
               "синхронизации папки). При отключении питания запись может быть утеряна.";
    ThrowCannotCreate(path, errno != 0 ? errno : EIO);
}

std::string ExportGridToFile(const TStringGrid& grid, const std::string& path,
                             const TFileWriteCall& write) {
    return WriteWholeFile(path, BuildExportText(grid), write);
}

std::string ExportGridToFile(const TStringGrid& grid, const std::string& path,
                             TTextEncoding encoding, const TFileWriteCall& write) {
    return WriteWholeFile(path, BuildExportText(grid, encoding), write);
}

}  // namespace trelvanox
