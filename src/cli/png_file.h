#pragma once

#include <string>

#include "render/rgb_image.h"

namespace trelvanox {

// The picture as the bytes of a PNG file (8-bit RGB). Throws std::runtime_error with the
// library's reason when it cannot be encoded.
std::string EncodePng(const TRgbImage& image);

// Replaces the file at path (UTF-8) with the picture as PNG, as the table exports replace theirs
// (WriteFileInPieces): a failed or refused write leaves the old file as it was. Throws
// TProgramError naming the file and the reason. Returns the durability warning, empty when all
// went well.
std::string WritePngFile(const std::string& path, const TRgbImage& image);

}  // namespace trelvanox
