#include "tools/mqdeck/CommandLine.h"

#include <algorithm>

bool parseCommandLine(const std::vector<std::string>& args, const std::vector<OptionRule>& known,
                      CommandLine& line, std::string& error) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            line.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            line.options["--help"];
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const auto option = std::find_if(known.begin(), known.end(),
                                         [&](const OptionRule& o) { return o.name == name; });
        if (option == known.end()) {
            error = "unknown option " + name;
            return false;
        }
        if (!option->takesValue) {
            if (equals != std::string::npos) {
                error = name + " takes no value";
                return false;
            }
            line.options[name];
        } else if (equals != std::string::npos) {
            line.options[name] = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            line.options[name] = args[++i];
        } else {
            error = name + " needs a value";
            return false;
        }
    }
    return true;
}
