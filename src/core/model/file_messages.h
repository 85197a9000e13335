#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/radargram_io.h"

namespace trelvanox {

// The icon a message box shows beside a text.
enum class TMessageIcon { None, Information };

// The texts the reader and the writer report. Titled messages carry a caption and the
// information icon; plain ones show under the application's title with no icon.
struct TFileMessage {
    std::string Text;
    std::string Caption;  // empty for a plain message
    TMessageIcon Icon = TMessageIcon::None;
};

// Nothing to report for a complete read or write.
std::optional<TFileMessage> ReadFailureMessage(TReadStatus status);
std::optional<TFileMessage> WriteFailureMessage(TWriteStatus status);

// "Размер файла: 4 МБ (5000000 байт)".
std::string SizeFileText(std::uint64_t bytes);

}  // namespace trelvanox
