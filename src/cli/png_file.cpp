#include "cli/png_file.h"

#include <png.h>

#include <stdexcept>

#include "exchange/label_export.h"

namespace trelvanox {

namespace {

// The library's simplified interface keeps its state in this record; it must be freed whatever
// the outcome.
struct TPngImage {
    png_image Image{};
    TPngImage() { Image.version = PNG_IMAGE_VERSION; }
    ~TPngImage() { png_image_free(&Image); }
    TPngImage(const TPngImage&) = delete;
    TPngImage& operator=(const TPngImage&) = delete;
};

}  // namespace

std::string EncodePng(const TRgbImage& image) {
    if (image.Width <= 0 || image.Height <= 0) throw std::runtime_error("empty picture");
    TPngImage png;
    png.Image.width = static_cast<png_uint_32>(image.Width);
    png.Image.height = static_cast<png_uint_32>(image.Height);
    png.Image.format = PNG_FORMAT_RGB;
    const png_int_32 stride = image.Width * 3;
    png_alloc_size_t size = 0;
    // The first call only measures.
    if (!png_image_write_to_memory(&png.Image, nullptr, &size, 0, image.Pixels.data(), stride,
                                   nullptr))
        throw std::runtime_error(png.Image.message);
    std::string bytes(size, '\0');
    if (!png_image_write_to_memory(&png.Image, bytes.data(), &size, 0, image.Pixels.data(), stride,
                                   nullptr))
        throw std::runtime_error(png.Image.message);
    bytes.resize(size);
    return bytes;
}

std::string WritePngFile(const std::string& path, const TRgbImage& image) {
    // The same checks as every export: links followed, read-only files, folders, devices and
    // pipes refused before a byte is written.
    const std::string bytes = EncodePng(image);
    return WriteFileInPieces(
        path, [&bytes](const TPieceWriter& piece) { return piece(bytes); },
        "\"" + path + "\" is not a regular file (a folder, a device or a pipe)");
}

}  // namespace trelvanox
