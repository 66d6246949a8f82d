#pragma once
#include "platform/TextKnowledge.h"

// Unicode as Windows knows it: NormalizeString, LCMapStringEx and GetStringTypeW.
class Win32TextKnowledge : public TextKnowledge {
public:
    std::string compose(std::string_view text) override;
    std::string decompose(std::string_view text) override;
    std::string foldCase(std::string_view text) override;
    std::vector<CharacterKind> kinds(std::string_view text) override;
};
