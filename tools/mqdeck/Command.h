#pragma once
#include <cstddef>
#include <iosfwd>
#include <vector>

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "tools/mqdeck/CommandLine.h"

struct ToolStreams {
    std::ostream& out;
    std::ostream& err;
    FileSystem& files;
    Clock& clock;
};

// Exit codes of every command.
constexpr int exitDone = 0;
constexpr int exitFailed = 1;
constexpr int exitUsage = 2;

struct Command {
    const char* name;
    const char* usage;  // "usage: mqdeck NAME ..." lines, continued with seven blanks
    const char* help;   // what the command does and what each option means
    std::vector<OptionRule> options;
    std::size_t fewestFiles;
    std::size_t mostFiles;
    // Runs with arguments that have passed the checks above.
    int (*run)(const CommandLine& line, ToolStreams& io);
};

extern const Command dumpCommand;
extern const Command writeCommand;
extern const Command importCommand;
extern const Command exportCommand;
extern const Command checkCommand;
extern const Command statsCommand;
extern const Command chartCommand;
extern const Command mergeCommand;
