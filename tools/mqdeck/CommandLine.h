#pragma once
#include <map>
#include <string>
#include <vector>

struct OptionRule {
    const char* name;  // "--into"
    bool takesValue;
};

// The arguments of one command: its file names and its options.
struct CommandLine {
    std::vector<std::string> files;
    std::map<std::string, std::string> options;  // a flag maps to ""

    bool has(const std::string& name) const { return options.count(name) != 0; }
    std::string value(const std::string& name) const {
        const auto found = options.find(name);
        return found == options.end() ? std::string() : found->second;
    }
};

// Options may stand before, between or after the file names, a value after the
// option or joined to it with "="; "--" ends the options. "--help" and "-h" are
// always known. Unknown options and missing values fail with a message.
bool parseCommandLine(const std::vector<std::string>& args, const std::vector<OptionRule>& known,
                      CommandLine& line, std::string& error);
