// The batch tool's entry on Windows: the arguments come as wide text (wmain), so that a file
// name in any script survives, and go on as UTF-8 like on POSIX systems; the console shows the
// UTF-8 output as such.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"

namespace {

std::string Utf8(const wchar_t* text) {
    const int length = static_cast<int>(std::wstring_view(text).size());
    if (length == 0) return {};
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), bytes, nullptr, nullptr);
    return out;
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
    ::SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> texts;
    for (int i = 1; i < argc; ++i) texts.push_back(Utf8(argv[i]));
    const std::vector<std::string_view> args(texts.begin(), texts.end());
    return trelvanox::RunCli(args, std::cout, std::cerr);
}
