#include "segy_read_back.h"

#include <segyio/segy.h>

#include <memory>
#include <stdexcept>

namespace trelvanox::test {

namespace {

void Check(int status, const char* what) {
    if (status != SEGY_OK) throw std::runtime_error(std::string("segyio: ") + what + " failed");
}

struct TClose {
    void operator()(segy_file* file) const { segy_close(file); }
};

}  // namespace

std::int32_t TSegyContents::Field(std::size_t t, int field) const {
    std::int32_t value = 0;
    Check(segy_get_field(TraceHeaders.at(t).data(), field, &value), "trace header field");
    return value;
}

std::string TSegyContents::Line(int number) const {
    return Text.substr(static_cast<std::size_t>(number - 1) * 80, 80);
}

TSegyContents ReadSegy(const std::filesystem::path& path) {
    const std::unique_ptr<segy_file, TClose> file(segy_open(path.c_str(), "rb"));
    if (!file) throw std::runtime_error("segyio cannot open " + path.string());
    TSegyContents read;
    std::vector<char> text(SEGY_TEXT_HEADER_SIZE + 1);
    Check(segy_read_textheader(file.get(), text.data()), "textual header");
    read.Text = text.data();
    std::vector<char> binary(SEGY_BINARY_HEADER_SIZE);
    Check(segy_binheader(file.get(), binary.data()), "binary header");
    read.Samples = segy_samples(binary.data());
    read.Format = segy_format(binary.data());
    Check(segy_get_bfield(binary.data(), SEGY_BIN_INTERVAL, &read.Interval), "interval");
    Check(segy_get_bfield(binary.data(), SEGY_BIN_SORTING_CODE, &read.Sorting), "sorting");
    Check(segy_get_bfield(binary.data(), SEGY_BIN_MEASUREMENT_SYSTEM, &read.Measurement), "unit");
    Check(segy_get_bfield(binary.data(), SEGY_BIN_SEGY_REVISION, &read.Revision), "revision");
    Check(segy_set_format(file.get(), read.Format), "format");
    const long trace0 = segy_trace0(binary.data());
    const int traceBytes = segy_trsize(read.Format, read.Samples);
    int traces = 0;
    Check(segy_traces(file.get(), &traces, trace0, traceBytes), "trace count");
    for (int t = 0; t < traces; ++t) {
        std::vector<char> header(SEGY_TRACE_HEADER_SIZE);
        Check(segy_traceheader(file.get(), t, header.data(), trace0, traceBytes), "trace header");
        std::vector<float> samples(static_cast<std::size_t>(read.Samples));
        Check(segy_readtrace(file.get(), t, samples.data(), trace0, traceBytes), "trace");
        Check(segy_to_native(read.Format, read.Samples, samples.data()), "samples");
        read.TraceHeaders.push_back(std::move(header));
        read.Traces.push_back(std::move(samples));
    }
    return read;
}

}  // namespace trelvanox::test
