// The reader in both layouts on any bytes, the two tables filled from what it read, and the
// write that must give the file back byte for byte when the writer's rules say it does: the
// same layout, and as many label records written as the header counts.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "common/string_grid.h"
#include "fuzz_scratch.h"
#include "header/header_table.h"
#include "labels/read_label_table.h"
#include "model/radargram.h"
#include "model/radargram_io.h"

namespace {

using namespace trelvanox;

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void ReadFillAndWrite(std::string_view bytes, TRadarLayout layout) {
    const auto path = fuzz::ScratchFolder() / "radargram";
    fuzz::WriteFile(path, bytes);
    const auto model = std::make_unique<TRadargram>();
    if (ReadRadargram(*model, path, layout).Status != TReadStatus::Ok) return;

    TStringGrid header(static_cast<int>(THeaderTableColumn::Count), kHeaderTableRows);
    FillHeaderTable(header, model->Header());
    TStringGrid labels(static_cast<int>(TReadLabelColumn::Count), kReadLabelRows);
    FillReadLabelTable(labels, *model);

    if (model->LabelTotal() != model->Header().LabelCount) return;
    if (WriteRadargram(*model, path, layout).Status != TWriteStatus::Ok) std::abort();
    if (ReadAll(path) != bytes) std::abort();  // a round trip must not change a byte
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::AsText(data, size);
    ReadFillAndWrite(bytes, TRadarLayout::Gpr);
    ReadFillAndWrite(bytes, TRadarLayout::Gpr2);
    return 0;
}
