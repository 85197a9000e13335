#include <csignal>
#include <iostream>
#include <string_view>
#include <vector>

#include "cli/cli.h"

int main(int argc, char* argv[]) {
#ifdef SIGXFSZ
    // A write beyond the file-size limit must fail like any other write (and be rolled back),
    // not end the process half-way through it.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return trelvanox::RunCli(args, std::cout, std::cerr);
}
