#pragma once

#include <filesystem>
#include <string>

#include "render/rgb_image.h"

namespace trelvanox {

// The picture as the bytes of a PNG file (8-bit RGB). Throws std::runtime_error with the
// library's reason when it cannot be encoded.
std::string EncodePng(const TRgbImage& image);

// Replaces the file at path with the picture as PNG, durably: a failed write leaves the old file
// as it was. Throws std::runtime_error naming the file and the reason.
void WritePngFile(const std::filesystem::path& path, const TRgbImage& image);

}  // namespace trelvanox
