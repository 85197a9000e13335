#pragma once

#include <functional>
#include <optional>

#include "amplitude/amplitude_operations.h"
#include "labels/label_write_back.h"

namespace trelvanox {

// What the view may ask of the rest of the program, and nothing more: the main window fills
// these in, so that the view knows neither the main window nor the dialogs behind them. Any of
// them may be empty.
struct TViewLinks {
    // Makes the window the processing window of the amplitude regulation (its four fields).
    std::function<void(const TProcessingWindow&)> SetProcessingWindow;
    // The processing window while the amplitude regulation is open, to be shown as a frame.
    std::function<std::optional<TProcessingWindow>()> ShownProcessingWindow;
    // Selects the label's row (1-based) in the read-label table.
    std::function<void(int row)> SelectLabelRow;
    // The colour index map as the user set it, for the label editor's swatches.
    std::function<TColourMap()> ColourMap;
    // Opens "Пересчёт координат по меткам".
    std::function<void()> ShowCalibration;
};

}  // namespace trelvanox
