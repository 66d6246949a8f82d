#include "tools/mqdeck/Mqdeck.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <ostream>

#include "cardfile/CardReader.h"
#include "cardfile/CardWriter.h"
#include "platform/WinConstants.h"
#include "tools/mqdeck/Cp1252Json.h"

namespace {

const char* const usage =
    "usage: mqdeck dump FILE       print every card of FILE as one JSON line\n"
    "       mqdeck write IN OUT    save the cards of IN to OUT as Mnemoquill would\n";

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Every byte of the file, as the program reads a card file whole.
bool readWholeFile(const std::string& path, std::string& bytes, std::ostream& err) {
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        err << "mqdeck: cannot open " << path << ": " << std::strerror(errno) << '\n';
        return false;
    }
    constexpr std::size_t chunk = std::size_t{1} << 20;
    for (;;) {
        const std::size_t start = bytes.size();
        bytes.resize(start + chunk);
        errno = 0;
        const std::size_t got = std::fread(&bytes[start], 1, chunk, file.get());
        bytes.resize(start + got);
        if (got < chunk) {
            break;
        }
    }
    if (std::ferror(file.get()) != 0) {
        err << "mqdeck: cannot read " << path << ": " << std::strerror(errno) << '\n';
        return false;
    }
    if (bytes.empty()) {
        err << "mqdeck: " << path << " is empty\n";
        return false;
    }
    return true;
}

bool readDeck(const std::string& path, CardBoxes& deck, MessageBoxes& boxes, std::ostream& err) {
    std::string text;
    if (!readWholeFile(path, text, err)) {
        return false;
    }
    readCardText(deck, text, boxes);
    return true;
}

int dumpFile(const std::string& path, std::ostream& out, std::ostream& err) {
    ConsoleMessageBoxes boxes(err);
    CardBoxes deck;
    if (!readDeck(path, deck, boxes, err)) {
        return 1;
    }
    dumpDeck(deck, out);
    out.flush();
    if (!out) {
        err << "mqdeck: cannot write the cards to standard output\n";
        return 1;
    }
    return 0;
}

int writeFile(const std::string& in, const std::string& outPath, std::ostream& err,
              FileSystem& files) {
    ConsoleMessageBoxes boxes(err);
    CardBoxes deck;
    if (!readDeck(in, deck, boxes, err)) {
        return 1;
    }
    // The writer only ever shows a box when saving failed.
    const std::size_t before = boxes.count();
    writeDeckToFile(deck, outPath, files, boxes);
    if (boxes.count() != before) {
        err << "mqdeck: cannot save " << outPath << '\n';
        return 1;
    }
    return 0;
}

}  // namespace

int ConsoleMessageBoxes::show(WindowRef /*owner*/, const std::string& text, const char* caption,
                              unsigned type) {
    ++count_;
    err_ << "mqdeck: ";
    if (caption != nullptr) {
        err_ << cp1252ToUtf8(caption) << ": ";
    }
    err_ << cp1252ToUtf8(text) << '\n';
    switch (type & 0x0Fu) {
        case MB_YESNO:
            return IDYES;
        default:
            return IDOK;
    }
}

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
            line += "}\n";
            out.write(line.data(), static_cast<std::streamsize>(line.size()));
        }
    }
}

int runMqdeck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              FileSystem& files) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << usage;
        return 0;
    }
    if (args.size() == 2 && args[0] == "dump") {
        return dumpFile(args[1], out, err);
    }
    if (args.size() == 3 && args[0] == "write") {
        return writeFile(args[1], args[2], err, files);
    }
    err << usage;
    return 2;
}
