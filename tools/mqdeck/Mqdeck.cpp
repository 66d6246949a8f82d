#include "tools/mqdeck/Mqdeck.h"

#include <ostream>

#include "model/CalendarDay.h"
#include "tools/mqdeck/Command.h"
#include "tools/mqdeck/JsonString.h"
#include "tools/mqdeck/ToolFiles.h"

namespace {

const Command* const commands[] = {&dumpCommand,  &writeCommand, &importCommand, &exportCommand,
                                   &checkCommand, &statsCommand, &chartCommand,  &mergeCommand};

const char* const toolHelp =
    "Mnemoquill's card tool. It reads card files with the program's own reader and\n"
    "saves them with its own safe save. Every command takes --help.\n"
    "Exit status: 0 done, 1 failed (or check found something), 2 wrong arguments.\n";

void printUsage(std::ostream& stream) {
    for (const Command* command : commands) {
        stream << command->usage;
    }
}

int runDump(const CommandLine& line, ToolStreams& io) {
    CardBoxes deck;
    if (!readDeckFile(io.files, line.files[0], deck, io.err)) {
        return exitFailed;
    }
    dumpDeck(deck, io.out);
    io.out.flush();
    if (!io.out) {
        io.err << "mqdeck: cannot write the cards to standard output\n";
        return exitFailed;
    }
    return exitDone;
}

int runWrite(const CommandLine& line, ToolStreams& io) {
    CardBoxes deck;
    if (!readDeckFile(io.files, line.files[0], deck, io.err)) {
        return exitFailed;
    }
    return saveDeckFile(io.files, line.files[1], deck, io.err) ? exitDone : exitFailed;
}

int runCommand(const Command& command, const std::vector<std::string>& args, ToolStreams& io) {
    CommandLine line;
    std::string error;
    if (parseCommandLine(args, command.options, line, error) && line.has("--help")) {
        io.out << command.usage << command.help;
        return exitDone;
    }
    if (error.empty() &&
        (line.files.size() < command.fewestFiles || line.files.size() > command.mostFiles)) {
        error =
            line.files.size() < command.fewestFiles ? "too few file names" : "too many file names";
    }
    if (!error.empty()) {
        io.err << "mqdeck: " << command.name << ": " << error << '\n' << command.usage;
        return exitUsage;
    }
    return command.run(line, io);
}

}  // namespace

const Command dumpCommand{
    "dump",
    "usage: mqdeck dump FILE\n",
    "Prints every card of the card file FILE as one JSON line, boxes 0 to 6, each\n"
    "from its front card on; \"date\" is the day the card entered its box, given\n"
    "only for cards that have one. Bytes of a UTF-8 card file that are no UTF-8 are\n"
    "printed as U+FFFD, as the program shows them.\n",
    {},
    1,
    1,
    runDump,
};

const Command writeCommand{
    "write",
    "usage: mqdeck write IN OUT\n",
    "Reads the card file IN and saves its cards to OUT exactly as Mnemoquill would,\n"
    "in IN's kind: code page 1252, or UTF-8 with a byte-order mark.\n",
    {},
    2,
    2,
    runWrite,
};

void dumpDeck(const CardBoxes& deck, std::ostream& out) {
    std::string line;
    for (int box = 0; box < CardBoxes::boxCount; ++box) {
        int position = 0;
        for (const CardRef& card : deck.box(box)) {
            ++position;
            line = "{\"box\":" + std::to_string(box);
            line += ",\"pos\":" + std::to_string(position);
            line += ",\"mark\":" + jsonString(card->getMark());
            line += ",\"section\":" + std::to_string(card->getSection());
            line += ",\"number\":" + std::to_string(card->getNumber());
            line += ",\"question\":" + jsonString(card->getQuestion());
            line += ",\"answer\":" + jsonString(card->getAnswer());
            line += ",\"info\":" + jsonString(card->getInfo());
            if (card->getDay() != noDay) {
                line += ",\"date\":\"";
                appendDay(line, card->getDay());
                line += '"';
            }
            line += "}\n";
            out.write(line.data(), static_cast<std::streamsize>(line.size()));
        }
    }
}

int runMqdeck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              FileSystem& files, Clock& clock) {
    ToolStreams io{out, err, files, clock};
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        out << toolHelp;
        for (const Command* command : commands) {
            out << '\n' << command->usage << command->help;
        }
        return exitDone;
    }
    for (const Command* command : commands) {
        if (!args.empty() && args[0] == command->name) {
            return runCommand(*command, std::vector<std::string>(args.begin() + 1, args.end()), io);
        }
    }
    err << "mqdeck: " << (args.empty() ? "no command" : "unknown command " + args[0]) << '\n';
    printUsage(err);
    return exitUsage;
}
