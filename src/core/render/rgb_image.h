#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace trelvanox {

struct TRgb {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;
    bool operator==(const TRgb&) const = default;
};

// A picture as three bytes per pixel, rows top to bottom, each row left to right: the layout
// both PNG writers and QImage::Format_RGB888 take without conversion.
struct TRgbImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels;  // 3 x Width x Height

    TRgbImage() = default;
    TRgbImage(int width, int height)
        : Width(width), Height(height), Pixels(static_cast<std::size_t>(width) * height * 3) {}

    TRgb At(int x, int y) const {
        const std::size_t i = Offset(x, y);
        return {Pixels[i], Pixels[i + 1], Pixels[i + 2]};
    }
    void Set(int x, int y, TRgb colour) {
        const std::size_t i = Offset(x, y);
        Pixels[i] = colour.R;
        Pixels[i + 1] = colour.G;
        Pixels[i + 2] = colour.B;
    }

  private:
    std::size_t Offset(int x, int y) const { return (static_cast<std::size_t>(y) * Width + x) * 3; }
};

}  // namespace trelvanox
