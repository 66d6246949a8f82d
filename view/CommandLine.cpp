#include "view/CommandLine.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// With `splitAtBlanks` off, the blanks outside quotes stay in the one argument.
std::vector<std::string> parse(std::string_view line, bool splitAtBlanks) {
    std::vector<std::string> arguments;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i])) ++i;
        if (i == line.size()) break;
        std::string argument;
        int quotes = 0;  // 1 between an opening and a closing quote
        std::size_t backslashes = 0;
        for (; i < line.size() && (!splitAtBlanks || quotes != 0 || !isBlank(line[i])); ++i) {
            const char c = line[i];
            if (c == '\\') {
                ++backslashes;
                argument += c;
                continue;
            }
            if (c != '"') {
                backslashes = 0;
                argument += c;
                continue;
            }
            argument.resize(argument.size() - backslashes / 2 - backslashes % 2);
            if (backslashes % 2 == 1) {
                argument += '"';
            } else {
                ++quotes;
            }
            backslashes = 0;
            // Quotes in a row: every third counts as a literal one.
            while (i + 1 < line.size() && line[i + 1] == '"') {
                ++i;
                if (++quotes == 3) {
                    argument += '"';
                    quotes = 0;
                }
            }
            if (quotes == 2) quotes = 0;
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool hasDrive(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool sameDrive(const std::string& a, const std::string& b) {
    return hasDrive(a) && hasDrive(b) && (a[0] | 0x20) == (b[0] | 0x20);
}

// "C:" or "\\server\share" of an absolute folder.
std::string rootOf(const std::string& folder) {
    if (hasDrive(folder)) return folder.substr(0, 2);
    if (folder.size() > 2 && isSeparator(folder[0]) && isSeparator(folder[1])) {
        std::size_t end = folder.find_first_of("\\/", 2);
        end = end == std::string::npos ? end : folder.find_first_of("\\/", end + 1);
        return folder.substr(0, end);
    }
    return std::string();
}

// Walks "." and ".." below the root and leaves one backslash between steps.
std::string walked(const std::string& root, const std::string& rest) {
    std::vector<std::string> steps;
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = rest.find_first_of("\\/", start);
        if (end == std::string::npos) end = rest.size();
        const std::string step = rest.substr(start, end - start);
        if (step == "..") {
            if (!steps.empty()) steps.pop_back();
        } else if (!step.empty() && step != ".") {
            steps.push_back(step);
        }
        start = end + 1;
    }
    std::string path = root;
    for (const std::string& step : steps) path += "\\" + step;
    return steps.empty() ? path + "\\" : path;
}

}  // namespace

std::vector<std::string> splitArguments(std::string_view arguments) {
    return parse(arguments, true);
}

std::optional<std::string> deckArgument(std::string_view arguments) {
    std::vector<std::string> split = splitArguments(arguments);
    if (split.empty()) return std::nullopt;
    // A path with blanks given without quotes, as some "open with" starts and
    // hand-made shortcuts pass it, arrives as several arguments. The program takes
    // no other arguments, so they are one path, joined by the blanks that stood
    // between them rather than by one blank each.
    std::string path = split.size() == 1 ? split.front() : parse(arguments, false).front();
    while (!path.empty() && isBlank(path.back())) path.pop_back();
    if (path.empty()) return std::nullopt;
    return path;
}

std::string absolutePath(const std::string& path, const std::string& workingFolder) {
    // Already absolute: "\\server\share\..." (and "\\?\..."), "C:\...".
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) return path;
    if (hasDrive(path) && path.size() >= 3 && isSeparator(path[2])) {
        return walked(path.substr(0, 2), path.substr(3));
    }
    if (hasDrive(path)) {
        // Only the working folder's drive has a known current folder here.
        if (sameDrive(path, workingFolder)) {
            return walked(rootOf(workingFolder), workingFolder.substr(2) + "\\" + path.substr(2));
        }
        return walked(path.substr(0, 2), path.substr(2));
    }
    const std::string root = rootOf(workingFolder);
    if (!path.empty() && isSeparator(path[0])) return walked(root, path);
    return walked(root, workingFolder.substr(root.size()) + "\\" + path);
}
