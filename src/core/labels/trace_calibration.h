#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "common/program_error.h"
#include "labels/label_edit.h"
#include "model/radargram.h"

namespace trelvanox {

// Anchors the trace coordinates cannot be recalculated from; the message says why (Russian).
class TCalibrationError : public TProgramError {
  public:
    using TProgramError::TProgramError;
};

// A trace whose true chainage (StartCoordinate + Coordinate, mm) the operator knows.
struct TCalibrationAnchor {
    std::uint32_t Trace = 0;
    std::int64_t Chainage = 0;
};

// New trace coordinates: the chainage of every trace linear in the trace number between
// neighbouring anchors, and the nearest segment's line continued before the first anchor and
// after the last one.
struct TCalibrationPlan {
    std::vector<TCalibrationAnchor> Anchors;  // by trace
    std::vector<double> StepsCm;              // each segment's cm per trace
    std::int64_t StartCoordinate = 0;
    std::vector<std::int32_t> Coordinates;  // one per trace, mm
};

// Works the coordinates out; with setStart the start coordinate becomes trace 0's chainage (so
// trace 0's coordinate is 0), otherwise it stays. Throws TCalibrationError for fewer than two
// anchors, a trace outside the file or given twice, chainages that do not run strictly one way
// with the trace number, and coordinates the 32-bit field (or a start the 64-bit one) cannot
// hold. Coordinates are rounded to the nearest millimetre, halves away from zero.
TCalibrationPlan PlanCalibration(const TRadargram& model, std::vector<TCalibrationAnchor> anchors,
                                 bool setStart);

// The edit that stores the plan, or nothing when every coordinate and the start already are
// what it gives.
std::optional<TLabelEdit> CalibrationEdit(const TRadargram& model, TCalibrationPlan plan);

}  // namespace trelvanox
