#include "cli/info_report.h"

#include "cli/json_writer.h"
#include "common/file_paths.h"
#include "common/string_grid.h"
#include "header/header_table.h"
#include "model/text_field.h"

namespace trelvanox {

namespace {

void WriteHeader(TJsonWriter& json, const TRadarHeader& h) {
    json.Key("header").BeginObject();
    json.Key("TraceCount").Unsigned(h.TraceCount);
    json.Key("SampleCount").Unsigned(h.SampleCount);
    json.Key("LabelCount").Unsigned(h.LabelCount);
    json.Key("RecordTime").Unsigned(h.RecordTime);
    json.Key("Permittivity").Float(h.Permittivity);
    json.Key("StepX").Signed(h.StepX);
    json.Key("StartCoordinate").Signed(h.StartCoordinate);
    json.Key("StartTime").Signed(h.StartTime);
    json.Key("ScanMode").Unsigned(h.ScanMode);
    json.Key("Stacking").Unsigned(h.Stacking);
    json.Key("AntennaName").String(ReadTextField(h.AntennaName));
    json.Key("OperatorName").String(ReadTextField(h.OperatorName));
    json.Key("ObjectName").String(ReadTextField(h.ObjectName));
    json.Key("Description1").String(ReadTextField(h.Description1));
    json.Key("Description2").String(ReadTextField(h.Description2));
    json.Key("Description3").String(ReadTextField(h.Description3));
    json.EndObject();
}

void WriteRows(TJsonWriter& json, const TStringGrid& grid, int firstRow, int lastRow) {
    json.BeginArray();
    for (int row = firstRow; row <= lastRow; ++row) {
        json.BeginArray();
        for (int col = 0; col < grid.ColCount(); ++col) json.String(grid.Cell(col, row));
        json.EndArray();
    }
    json.EndArray();
}

}  // namespace

std::string BuildInfoReport(const TRadargramDocument& document) {
    const TRadargram& model = document.Model();
    TJsonWriter json;
    json.BeginObject();
    json.Key("file").String(Utf8OfPath(document.Path()));
    json.Key("size").Unsigned(document.FileSize().value_or(0));
    json.Key("layout").String(document.Layout() == TRadarLayout::Gpr ? "GPR" : "GPR2");
    WriteHeader(json, model.Header());
    json.Key("counts").BeginObject();
    json.Key("LabelTotal").Unsigned(model.LabelTotal());
    json.Key("LabelsWithText").Unsigned(model.LabelsWithText());
    json.Key("LabelsWithoutText").Unsigned(model.LabelsWithoutText());
    json.EndObject();
    json.Key("header_table");
    WriteRows(json, document.HeaderTable(), 0, kHeaderTableRows - 1);
    json.Key("profile_length").String(document.ProfileLengthText());
    json.Key("label_table");
    WriteRows(json, document.ReadLabelTable(), 1, static_cast<int>(model.LabelTotal()));
    json.EndObject();
    return json.Text();
}

}  // namespace trelvanox
