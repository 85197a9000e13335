#pragma once

#include <filesystem>

#include "radargram_generator.h"

namespace trelvanox::bench {

// The maximal radargram every benchmark works on: 200000 traces x 512 samples, GPR2, its label
// count equal to its labelled traces, so that a write changes no byte.
TGeneratorOptions MaximalFile();

// Where that file lives: $TMPDIR, or /tmp, so that one copy serves every benchmark program.
std::filesystem::path BenchFilePath();

// Generates the file unless one of the right size is there already; a half-written file from an
// interrupted run has the wrong size and is made again. Throws as the generator does.
void EnsureBenchFile(const std::filesystem::path& path);

}  // namespace trelvanox::bench
