// mqdeck check: what the program's reader will make of a hand-edited card file.
#include <ostream>

#include "model/CardBoxes.h"
#include "tools/mqdeck/CardCheck.h"
#include "tools/mqdeck/Command.h"
#include "tools/mqdeck/ToolFiles.h"

namespace {

int runCheck(const CommandLine& line, ToolStreams& io) {
    const std::string& path = line.files[0];
    std::string text;
    if (!readInputFile(io.files, path, text, io.err)) {
        return exitUsage;  // 1 would say the file was read and found wanting
    }
    const CheckReport report = checkCardText(text);
    for (const CheckFinding& finding : report.findings) {
        io.out << path << ':' << finding.line;
        if (finding.column != 0) {
            io.out << ':' << finding.column;
        }
        io.out << ": " << finding.text << '\n';
    }
    std::size_t all = 0;
    io.out << path << ':';
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        const std::size_t count = report.counts[static_cast<std::size_t>(box)];
        io.out << (box == 0 ? " box " : ", box ") << box << ": " << count;
        all += count;
    }
    io.out << " (" << all << (all == 1 ? " card)\n" : " cards)\n");
    return report.findings.empty() ? exitDone : exitFailed;
}

}  // namespace

const Command checkCommand{
    "check",
    "usage: mqdeck check FILE\n",
    "Tells, line by line, what Mnemoquill's reader does with the card file FILE:\n"
    "cards without an end and the question the program will then ask, sections\n"
    "outside 0 to 6, fields missing from a card, days (<D>) that are no date,\n"
    "text outside any card, boxes 1 to 6 without a card marked \"+\" or with more\n"
    "than one, numbers repeated within a box 1 to 6, and in a UTF-8 card file the\n"
    "line and column of bytes that are no UTF-8 (columns count characters, the\n"
    "byte-order mark too); then the cards each box will hold.\n"
    "Exit status: 0 when FILE reads cleanly, 1 when something was found, 2 on wrong\n"
    "arguments or when FILE cannot be read.\n",
    {},
    1,
    1,
    runCheck,
};
