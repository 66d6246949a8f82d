#include <iostream>
#include <string>
#include <vector>

#include "tools/mqdeck/Mqdeck.h"
#include "tools/mqdeck/StdFileSystem.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // JSON lines end in LF on every system; a text-mode stdout would add CRs.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    StdFileSystem files;
    return runMqdeck(args, std::cout, std::cerr, files);
}
