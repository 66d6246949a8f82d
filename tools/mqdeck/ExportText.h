#pragma once
#include <string>
#include <string_view>

#include "model/CardBoxes.h"

enum class ExportFormat { tsv, csv, anki };

// "tsv", "csv" or "anki"; false for any other name.
bool exportFormatNamed(std::string_view name, ExportFormat& format);

// Every card of the deck, boxes 0 to 6 from front to back, as UTF-8 lines of
// question, answer and info ending in CR LF. What parseImport() reads back as
// the same texts, as long as they hold no line break other than CR LF and no
// bytes that are no UTF-8 (written as U+FFFD, as the program shows them).
//  tsv:  tab-separated, a field quoted as RFC 4180 has it when it needs to be;
//  csv:  comma-separated after a byte-order mark, so that spreadsheet programs
//        take it for UTF-8;
//  anki: tab-separated HTML after the header lines of the trainers that share
//        this format, with a tag mnemoquill::box0 ... box6 in the fourth column.
std::string exportText(const CardBoxes& deck, ExportFormat format);
