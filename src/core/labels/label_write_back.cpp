#include "labels/label_write_back.h"

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "common/conversion.h"
#include "labels/edit_table.h"
#include "model/text_field.h"

namespace trelvanox {

namespace {

constexpr int kTextColumn = static_cast<int>(TEditTableColumn::Text);
constexpr int kCoordinateColumn = static_cast<int>(TEditTableColumn::Coordinate);
constexpr int kColorColumn = static_cast<int>(TEditTableColumn::ColorIndex);

// The edit table as the write-back reads it: label k at row firstRow + k, computed wide so that
// no first row, however far out, wraps around into the table.
class TLabelRows {
  public:
    TLabelRows(const TStringGrid& grid, std::int32_t firstRow) : grid_(grid), first_(firstRow) {}

    const std::string& Cell(int col, std::size_t k) const {
        static const std::string kEmpty;
        const std::int64_t row = std::int64_t{first_} + static_cast<std::int64_t>(k);
        if (row < 0 || row >= grid_.RowCount()) return kEmpty;
        return grid_.Cell(col, static_cast<int>(row));
    }

  private:
    const TStringGrid& grid_;
    std::int32_t first_;
};

// Whole metres to the millimetres of a trace coordinate.
std::int32_t CoordinateOf(const std::string& text) {
    constexpr std::int32_t kMaxMetres = std::numeric_limits<std::int32_t>::max() / 1000;
    const std::int32_t metres = StrToInt(text);
    if (metres > kMaxMetres || metres < -kMaxMetres)
        throw TConversionError("'" + text + "' is not a valid integer value");
    return metres * 1000;
}

}  // namespace

std::uint32_t ColourForIndex(std::int32_t index, const TColourMap& map) {
    constexpr std::uint32_t kRed = 0x000000FF;
    if (index < 1 || index > static_cast<std::int32_t>(map.size())) return kRed;
    return map[static_cast<std::size_t>(index - 1)];
}

void WriteBackLabels(TRadargram& model, const TStringGrid& grid, std::int32_t firstRow,
                     TLabelScope scope, const TColourMap& colours) {
    if (!model.HasHeader()) return;
    const TLabelRows rows(grid, firstRow);
    const auto traces = model.TraceHeaders();
    const auto records = model.LabelRecords();
    // The read counts at most one label per slot; the bound only guards the records.
    const auto n =
        static_cast<std::uint32_t>(std::min<std::size_t>(model.LabelTotal(), records.size()));

    // Convert everything first, so that a bad cell leaves the model as it was.
    std::vector<std::uint32_t> newColours;
    if (scope.Color) {
        newColours.reserve(n);
        for (std::size_t k = 0; k < n; ++k)
            newColours.push_back(ColourForIndex(StrToInt(rows.Cell(kColorColumn, k)), colours));
    }
    std::vector<std::int32_t> newCoordinates;
    if (scope.Coord) {
        std::size_t k = 0;
        for (const TTraceHeader& trace : traces) {
            if (trace.LabelIndex != 0)
                newCoordinates.push_back(CoordinateOf(rows.Cell(kCoordinateColumn, k++)));
        }
    }

    model.Header().LabelCount = n;
    for (std::size_t k = 0; k < n; ++k) {
        TLabelRecord& record = records[k];
        if (scope.Text) {
            WriteTextField(record.LabelText, rows.Cell(kTextColumn, k));
            record.LabelNumber = static_cast<std::int32_t>(k + 2);
        }
        if (scope.Color) record.LabelColor = newColours[k];
    }

    // Whatever the scope: the k-th labelled trace points at record k from now on.
    std::uint32_t next = 2;
    for (TTraceHeader& trace : traces) {
        if (trace.LabelIndex != 0) trace.LabelIndex = next++;
    }

    if (scope.Coord) {
        std::size_t k = 0;
        for (TTraceHeader& trace : traces) {
            if (trace.LabelIndex != 0) trace.Coordinate = newCoordinates[k++];
        }
    }
}

}  // namespace trelvanox
