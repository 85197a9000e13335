#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "document/write_journal.h"
#include "memory_radar_file.h"
#include "model/radargram.h"
#include "radar_image.h"
#include "radargram_generator.h"

namespace trelvanox::test {

// One change of a generated radargram as the program's commands make them: an edit of the
// model read from the file, then the writer's in-place write in a layout, packed or not.
struct TRadargramChange {
    std::string Name;
    TGeneratorOptions Options;
    std::function<void(TRadargram&)> Edit;
    TRadarLayout WriteLayout = TRadarLayout::Gpr2;
    bool Packed = false;
};

// Header field, scattered traces zeroed, every trace's coordinate, GPR to GPR2 (the file grows),
// the packed write, and a layout switch large enough for a journal of several pieces.
std::vector<TRadargramChange> RadargramChanges();

// Reads the model from file and returns the writer of the change (for RecordChange and
// TFileHistory::Change); the model must outlive it.
TChangeWriter ChangeWriter(TRadargram& model, TRadarFile& file, const TRadargramChange& change);

// The file's bytes after the change, written without any journal.
TBytes BytesAfter(const TBytes& before, const TRadargramChange& change);

// The label a change's journal carries.
TJournalInfo ChangeLabel(const TRadargramChange& change);

// Lets the test's failure output name the change.
std::string ChangeName(const TRadargramChange& change);
void PrintTo(const TRadargramChange& change, std::ostream* os);

}  // namespace trelvanox::test
