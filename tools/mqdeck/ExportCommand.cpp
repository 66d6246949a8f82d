// mqdeck export: every card of a deck as UTF-8 delimited text.
#include <ostream>

#include "tools/mqdeck/Command.h"
#include "tools/mqdeck/ExportText.h"
#include "tools/mqdeck/ToolFiles.h"

namespace {

int runExport(const CommandLine& line, ToolStreams& io) {
    ExportFormat format = ExportFormat::tsv;
    if (line.has("--format") && !exportFormatNamed(line.value("--format"), format)) {
        io.err << "mqdeck: export: unknown format \"" << line.value("--format") << "\"\n"
               << exportCommand.usage;
        return exitUsage;
    }
    CardBoxes deck;
    if (!readDeckFile(io.files, line.files[0], deck, io.err) ||
        !saveTextFile(io.files, line.files[1], exportText(deck, format), io.err)) {
        return exitFailed;
    }
    return exitDone;
}

}  // namespace

const Command exportCommand{
    "export",
    "usage: mqdeck export [--format tsv|csv|anki] DECK OUT\n",
    "Writes every card of the card file DECK, boxes 0 to 6, to OUT as UTF-8 text,\n"
    "one line of question, answer and info per card. Import reads it back.\n"
    "  --format tsv   tab-separated (the default)\n"
    "  --format csv   comma-separated, for spreadsheet programs\n"
    "  --format anki  tab-separated HTML with the header lines flash-card trainers\n"
    "                 read, and a tag mnemoquill::box0 ... mnemoquill::box6 in a\n"
    "                 fourth column that keeps the box each card was in\n",
    {{"--format", true}},
    2,
    2,
    runExport,
};
