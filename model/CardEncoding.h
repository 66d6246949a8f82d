#pragma once

// How a card file spells the deck's texts. Inside, every text is UTF-8 either way.
enum class CardEncoding { cp1252, utf8 };
