#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/radargram.h"

namespace trelvanox {

// How the radargram's time axis and positions are put into SEG-Y header fields.
//
// Time: a radar samples every fraction of a nanosecond, far below the microsecond the SEG-Y
// standard counts the sample interval in, so radar programs write the interval in picoseconds
// into the same fields (binary header bytes 3217-3218, trace header bytes 117-118). The field
// holds a 16-bit signed number, so an interval above 32767 ps is written as 0 (unknown) and
// given only in the textual header.
//
// Position: the trace's chainage position (StartCoordinate + Coordinate, mm) goes into the
// X coordinates with the coordinate scalar -1000 (values in mm), so no precision is lost; a
// profile whose positions do not fit 32 bits in mm takes the finest coarser scalar that fits.

constexpr std::int32_t kMaxHeaderIntervalPs = 32767;

// RecordTime / SampleCount in picoseconds, rounded; 0 without samples.
std::int64_t SampleIntervalPs(const TRadarHeader& header);
// What the header fields hold: the interval, or 0 when it does not fit.
std::int32_t HeaderIntervalPs(const TRadarHeader& header);

// The chainage position of every trace scaled for the trace headers.
struct TSegyPositions {
    std::int32_t Scalar = -1000;       // SEG-Y coordinate scalar (negative: a divisor)
    std::vector<std::int32_t> Values;  // one per trace, in units of the scalar
};

// Throws TProgramError when the positions fit no scalar the standard allows.
TSegyPositions ScalePositions(const TRadargram& model);

// The chainage position of trace t (StartCoordinate + Coordinate), mm.
std::int64_t PositionMm(const TRadargram& model, std::uint32_t t);

// Millimetres as metres with three decimals: -1.234, 0.000, 12.500.
std::string MetresText(std::int64_t mm);

// Nanoseconds from picoseconds with three decimals: 976 ps -> "0.976".
std::string NanosecondsText(std::int64_t ps);

}  // namespace trelvanox
