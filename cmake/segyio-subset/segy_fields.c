/* Header fields and sample byte order of SEG-Y files, with segyio's names and results: every
 * field is big-endian, two or four bytes wide, at the byte its number names (counted from 1,
 * the binary header's from the start of the file). A field number that starts no field is
 * refused, as segyio refuses it. */
#include <segyio/segy.h>

#include <stdint.h>
#include <string.h>

/* The first byte of every trace-header field, in order, and the end of the header; a field
 * reaches to the next one. */
static const int trace_fields[] = {
    SEGY_TR_SEQ_LINE,
    SEGY_TR_SEQ_FILE,
    SEGY_TR_FIELD_RECORD,
    SEGY_TR_NUMBER_ORIG_FIELD,
    SEGY_TR_ENERGY_SOURCE_POINT,
    SEGY_TR_ENSEMBLE,
    SEGY_TR_NUM_IN_ENSEMBLE,
    SEGY_TR_TRACE_ID,
    SEGY_TR_SUMMED_TRACES,
    SEGY_TR_STACKED_TRACES,
    SEGY_TR_DATA_USE,
    SEGY_TR_OFFSET,
    SEGY_TR_RECV_GROUP_ELEV,
    SEGY_TR_SOURCE_SURF_ELEV,
    SEGY_TR_SOURCE_DEPTH,
    SEGY_TR_RECV_DATUM_ELEV,
    SEGY_TR_SOURCE_DATUM_ELEV,
    SEGY_TR_SOURCE_WATER_DEPTH,
    SEGY_TR_GROUP_WATER_DEPTH,
    SEGY_TR_ELEV_SCALAR,
    SEGY_TR_SOURCE_GROUP_SCALAR,
    SEGY_TR_SOURCE_X,
    SEGY_TR_SOURCE_Y,
    SEGY_TR_GROUP_X,
    SEGY_TR_GROUP_Y,
    SEGY_TR_COORD_UNITS,
    SEGY_TR_WEATHERING_VELO,
    SEGY_TR_SUBWEATHERING_VELO,
    SEGY_TR_SOURCE_UPHOLE_TIME,
    SEGY_TR_GROUP_UPHOLE_TIME,
    SEGY_TR_SOURCE_STATIC_CORR,
    SEGY_TR_GROUP_STATIC_CORR,
    SEGY_TR_TOT_STATIC_APPLIED,
    SEGY_TR_LAG_A,
    SEGY_TR_LAG_B,
    SEGY_TR_DELAY_REC_TIME,
    SEGY_TR_MUTE_TIME_START,
    SEGY_TR_MUTE_TIME_END,
    SEGY_TR_SAMPLE_COUNT,
    SEGY_TR_SAMPLE_INTER,
    SEGY_TR_GAIN_TYPE,
    SEGY_TR_INSTR_GAIN_CONST,
    SEGY_TR_INSTR_INIT_GAIN,
    SEGY_TR_CORRELATED,
    SEGY_TR_SWEEP_FREQ_START,
    SEGY_TR_SWEEP_FREQ_END,
    SEGY_TR_SWEEP_LENGTH,
    SEGY_TR_SWEEP_TYPE,
    SEGY_TR_SWEEP_TAPERLEN_START,
    SEGY_TR_SWEEP_TAPERLEN_END,
    SEGY_TR_TAPER_TYPE,
    SEGY_TR_ALIAS_FILT_FREQ,
    SEGY_TR_ALIAS_FILT_SLOPE,
    SEGY_TR_NOTCH_FILT_FREQ,
    SEGY_TR_NOTCH_FILT_SLOPE,
    SEGY_TR_LOW_CUT_FREQ,
    SEGY_TR_HIGH_CUT_FREQ,
    SEGY_TR_LOW_CUT_SLOPE,
    SEGY_TR_HIGH_CUT_SLOPE,
    SEGY_TR_YEAR_DATA_REC,
    SEGY_TR_DAY_OF_YEAR,
    SEGY_TR_HOUR_OF_DAY,
    SEGY_TR_MIN_OF_HOUR,
    SEGY_TR_SEC_OF_MIN,
    SEGY_TR_TIME_BASE_CODE,
    SEGY_TR_WEIGHTING_FAC,
    SEGY_TR_GEOPHONE_GROUP_ROLL1,
    SEGY_TR_GEOPHONE_GROUP_FIRST,
    SEGY_TR_GEOPHONE_GROUP_LAST,
    SEGY_TR_GAP_SIZE,
    SEGY_TR_OVER_TRAVEL,
    SEGY_TR_CDP_X,
    SEGY_TR_CDP_Y,
    SEGY_TR_INLINE,
    SEGY_TR_CROSSLINE,
    SEGY_TR_SHOT_POINT,
    SEGY_TR_SHOT_POINT_SCALAR,
    SEGY_TR_MEASURE_UNIT,
    SEGY_TR_TRANSDUCTION_MANT,
    SEGY_TR_TRANSDUCTION_EXP,
    SEGY_TR_TRANSDUCTION_UNIT,
    SEGY_TR_DEVICE_ID,
    SEGY_TR_SCALAR_TRACE_HEADER,
    SEGY_TR_SOURCE_TYPE,
    SEGY_TR_SOURCE_ENERGY_DIR_MANT,
    SEGY_TR_SOURCE_ENERGY_DIR_EXP,
    SEGY_TR_SOURCE_MEASURE_MANT,
    SEGY_TR_SOURCE_MEASURE_EXP,
    SEGY_TR_SOURCE_MEASURE_UNIT,
    SEGY_TR_UNASSIGNED1,
    SEGY_TR_UNASSIGNED2,
    SEGY_TRACE_HEADER_SIZE + 1,
};

/* The binary header's fields in two runs (the standard's and revision 1's), each closed by its
 * end; the unassigned ranges between them are no fields. */
static const int binary_fields[] = {
    SEGY_BIN_JOB_ID,
    SEGY_BIN_LINE_NUMBER,
    SEGY_BIN_REEL_NUMBER,
    SEGY_BIN_TRACES,
    SEGY_BIN_AUX_TRACES,
    SEGY_BIN_INTERVAL,
    SEGY_BIN_INTERVAL_ORIG,
    SEGY_BIN_SAMPLES,
    SEGY_BIN_SAMPLES_ORIG,
    SEGY_BIN_FORMAT,
    SEGY_BIN_ENSEMBLE_FOLD,
    SEGY_BIN_SORTING_CODE,
    SEGY_BIN_VERTICAL_SUM,
    SEGY_BIN_SWEEP_FREQ_START,
    SEGY_BIN_SWEEP_FREQ_END,
    SEGY_BIN_SWEEP_LENGTH,
    SEGY_BIN_SWEEP,
    SEGY_BIN_SWEEP_CHANNEL,
    SEGY_BIN_SWEEP_TAPER_START,
    SEGY_BIN_SWEEP_TAPER_END,
    SEGY_BIN_TAPER,
    SEGY_BIN_CORRELATED_TRACES,
    SEGY_BIN_BIN_GAIN_RECOVERY,
    SEGY_BIN_AMPLITUDE_RECOVERY,
    SEGY_BIN_MEASUREMENT_SYSTEM,
    SEGY_BIN_IMPULSE_POLARITY,
    SEGY_BIN_VIBRATORY_POLARITY,
    SEGY_BIN_UNASSIGNED1,
};
static const int binary_revision_fields[] = {
    SEGY_BIN_SEGY_REVISION,
    SEGY_BIN_TRACE_FLAG,
    SEGY_BIN_EXT_HEADERS,
    SEGY_BIN_UNASSIGNED2,
};

/* The width of the field starting at `field` among `starts` (the last entry only closes the
 * run), or 0 when no field of two or four bytes starts there. */
static int field_width(const int* starts, size_t count, int field) {
    for (size_t i = 0; i + 1 < count; ++i) {
        if (starts[i] != field) continue;
        const int width = starts[i + 1] - starts[i];
        return width == 2 || width == 4 ? width : 0;
    }
    return 0;
}

static void put_big_endian(char* at, int width, int32_t value) {
    const uint32_t bits = (uint32_t)value;
    for (int i = 0; i < width; ++i) at[i] = (char)(bits >> (8 * (width - 1 - i)));
}

static int set_field(char* header, int offset, int width, int32_t value) {
    if (width == 0) return SEGY_INVALID_FIELD;
    if (width == 2 && (value < INT16_MIN || value > INT16_MAX)) return SEGY_INVALID_ARGS;
    put_big_endian(header + offset, width, value);
    return SEGY_OK;
}

int segy_set_field(char* traceheader, int field, int32_t val) {
    const size_t count = sizeof trace_fields / sizeof trace_fields[0];
    return set_field(traceheader, field - 1, field_width(trace_fields, count, field), val);
}

int segy_set_bfield(char* binheader, int field, int32_t val) {
    const size_t count = sizeof binary_fields / sizeof binary_fields[0];
    const size_t revision_count = sizeof binary_revision_fields / sizeof binary_revision_fields[0];
    int width = field_width(binary_fields, count, field);
    if (width == 0) width = field_width(binary_revision_fields, revision_count, field);
    return set_field(binheader, field - SEGY_BIN_JOB_ID, width, val);
}

/* Samples of four bytes (the floating-point and integer formats) go big-endian in place; the
 * two- and one-byte formats likewise by their width. */
int segy_from_native(int format, long long size, void* buf) {
    int width;
    switch (format) {
        case SEGY_IBM_FLOAT_4_BYTE:
        case SEGY_SIGNED_INTEGER_4_BYTE:
        case SEGY_FIXED_POINT_WITH_GAIN_4_BYTE:
        case SEGY_IEEE_FLOAT_4_BYTE:
            width = 4;
            break;
        case SEGY_SIGNED_SHORT_2_BYTE:
            width = 2;
            break;
        case SEGY_SIGNED_CHAR_1_BYTE:
            return SEGY_OK;
        default:
            return SEGY_INVALID_ARGS;
    }
    unsigned char* bytes = buf;
    for (long long i = 0; i < size; ++i) {
        unsigned char* sample = bytes + i * width;
        uint32_t bits = 0;
        memcpy(&bits, sample, (size_t)width);
        for (int b = 0; b < width; ++b) sample[b] = (unsigned char)(bits >> (8 * (width - 1 - b)));
    }
    return SEGY_OK;
}

int segy_to_native(int format, long long size, void* buf) {
    /* Swapping is its own inverse on a little-endian machine, which every Windows target is. */
    return segy_from_native(format, size, buf);
}
