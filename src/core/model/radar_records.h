#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

// The fixed records of the GPR and GPR2 layouts. They are moved between file and memory as whole
// blocks of bytes, so their in-memory layout is the file layout: packed, little-endian.

namespace trelvanox {

static_assert(std::endian::native == std::endian::little,
              "records are moved as raw little-endian blocks");

constexpr std::size_t kTextFieldSize = 40;

#pragma pack(push, 1)

struct TRadarHeader {
    std::uint8_t Reserved0[24];
    std::uint32_t TraceCount;
    std::uint32_t SampleCount;
    std::uint32_t LabelCount;
    std::uint32_t RecordTime;  // ns
    float Permittivity;
    std::int32_t StepX;            // mm
    std::int64_t StartCoordinate;  // mm; 100000 mm make one picket
    std::uint8_t Reserved56[44];
    std::int32_t StartTime;  // ns
    std::uint8_t Reserved104[28];
    std::uint32_t ScanMode;
    std::uint32_t Stacking;
    std::uint8_t Reserved140[4];
    char AntennaName[kTextFieldSize];
    char OperatorName[kTextFieldSize];
    char ObjectName[kTextFieldSize];
    char Description1[kTextFieldSize];
    char Description2[kTextFieldSize];
    char Description3[kTextFieldSize];
    std::uint8_t Reserved384[16];
};

struct THeaderBlock {
    std::uint8_t Bytes[1024];
};

struct TTraceHeader {
    std::uint8_t Reserved0[8];
    std::int32_t Coordinate;  // mm from the profile start
    std::uint8_t Reserved12[16];
    // 0 no label; 1 a label without text; n >= 2 a label whose text is in label record n - 2.
    std::uint32_t LabelIndex;
    std::uint8_t Reserved32[4];
};

struct TLabelRecord {
    std::int32_t LabelNumber;
    std::uint32_t LabelColor;  // 0x00BBGGRR
    char LabelText[kTextFieldSize];
};

#pragma pack(pop)

static_assert(sizeof(TRadarHeader) == 400);
static_assert(offsetof(TRadarHeader, TraceCount) == 24);
static_assert(offsetof(TRadarHeader, StartCoordinate) == 48);
static_assert(offsetof(TRadarHeader, StartTime) == 100);
static_assert(offsetof(TRadarHeader, ScanMode) == 132);
static_assert(offsetof(TRadarHeader, AntennaName) == 144);
static_assert(offsetof(TRadarHeader, Description3) == 344);
static_assert(sizeof(THeaderBlock) == 1024);
static_assert(sizeof(TTraceHeader) == 36);
static_assert(offsetof(TTraceHeader, Coordinate) == 8);
static_assert(offsetof(TTraceHeader, LabelIndex) == 28);
static_assert(sizeof(TLabelRecord) == 48);
static_assert(offsetof(TLabelRecord, LabelText) == 8);

}  // namespace trelvanox
