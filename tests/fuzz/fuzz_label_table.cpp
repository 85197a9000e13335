// A label table from a delimited text file or from the clipboard, then written back into the
// labels of a small radargram, which must then store and read again.
//
// The first byte chooses the way in (bit 2: paste, else import) and the delimiter (bits 0-1);
// the rest is the text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "common/conversion.h"
#include "common/string_grid.h"
#include "exchange/clipboard_text.h"
#include "exchange/delimited_text.h"
#include "exchange/label_import.h"
#include "fuzz_scratch.h"
#include "labels/edit_table.h"
#include "labels/label_write_back.h"
#include "model/radargram.h"
#include "model/radargram_io.h"
#include "radargram_generator.h"

namespace {

using namespace trelvanox;

// Thirty traces with a label on every fifth, some without text.
const std::string& SmallRadargram() {
    static const std::string bytes = [] {
        TGeneratorOptions options;
        options.TraceCount = 30;
        options.SampleCount = 8;
        options.LabelEvery = 5;
        const std::vector<std::uint8_t> generated = GenerateRadargramBytes(options);
        return std::string(generated.begin(), generated.end());
    }();
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t choice = data[0];
    const std::string_view text = fuzz::AsText(data + 1, size - 1);

    TStringGrid grid(static_cast<int>(TEditTableColumn::Count), kEditTableRows);
    SetEditTableCaptions(grid);
    if (choice & 4) {
        PasteClipboardText(grid, text);
    } else {
        FillGridFromDelimitedText(grid, text, DelimiterFor(choice & 3));
    }

    const auto path = fuzz::ScratchFolder() / "labels.GPR2";
    fuzz::WriteFile(path, SmallRadargram());
    const auto model = std::make_unique<TRadargram>();
    if (ReadRadargram(*model, path, TRadarLayout::Gpr2).Status != TReadStatus::Ok) std::abort();
    try {
        WriteBackLabels(*model, grid, 1, TLabelScope{}, kStartColourMap);
    } catch (const TConversionError&) {
        return 0;  // a cell that is not a number: the user's message, nothing changed
    }
    if (WriteRadargram(*model, path, TRadarLayout::Gpr2).Status != TWriteStatus::Ok) std::abort();
    const auto reread = std::make_unique<TRadargram>();
    if (ReadRadargram(*reread, path, TRadarLayout::Gpr2).Status != TReadStatus::Ok) std::abort();
    return 0;
}
