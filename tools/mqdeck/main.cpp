#include <iostream>
#include <string>
#include <vector>

#include "tools/mqdeck/LocalClock.h"
#include "tools/mqdeck/Mqdeck.h"
#include "tools/mqdeck/StdFileSystem.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "platform/WideText.h"
#endif

namespace {

int run(const std::vector<std::string>& args) {
#ifdef _WIN32
    // JSON lines end in LF on every system; a text-mode stdout would add CRs.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::ios::sync_with_stdio(false);
    StdFileSystem files;
    LocalClock clock;
    return runMqdeck(args, std::cout, std::cerr, files, clock);
}

}  // namespace

#ifdef _WIN32
// The narrow arguments come through the ANSI code page, which turns the letters
// of most scripts into question marks.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.push_back(utf8FromWide(argv[i]));
    }
    return run(args);
}
#else
int main(int argc, char** argv) { return run(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
