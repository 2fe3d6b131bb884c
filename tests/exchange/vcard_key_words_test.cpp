#include "exchange/core/text_conversions.h"
#include "exchange/core/vcard_key_words.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// The words as the code page 932 substring search finds them, one search per word.
VCardKeyWords searchedOneByOne(const std::string& line)
{
    VCardKeyWords found = 0;
    for (int word = 0; word < KW_COUNT; ++word)
        if (containsSjis(line.c_str(), vcardKeyWordText(static_cast<VCardKeyWord>(word))))
            found |= keyWordBit(static_cast<VCardKeyWord>(word));
    return found;
}

TEST(VCardKeyWords, FindsWordsAnywhereButNeverInsideADoubleByteCharacter)
{
    const struct {
        std::string line;
        VCardKeyWords found;
    } cases[] = {
        {"TEL;HOME;VOICE:0312345678\n",
         keyWordBit(KW_TEL) | keyWordBit(KW_HOME) | keyWordBit(KW_VOICE)},
        {"NOTE;ENCODING=QUOTED-PRINTABLE:=82=A0=\n",
         keyWordBit(KW_NOTE) | keyWordBit(KW_QUOTED_PRINTABLE)},
        {"END:VCARD", keyWordBit(KW_END_VCARD)},
        {"X-MEMO:call TEL; at WORK", keyWordBit(KW_TEL) | keyWordBit(KW_WORK)},
        {"tel;cell:090", 0},
        // 0x83 opens a double-byte character whose trail byte is "T": "EL;" alone is no word.
        {"N:\x83TEL;", 0},
        // 0x83 0x83 is one character, so the "T" after it starts a word.
        {"N:\x83\x83TEL;", keyWordBit(KW_TEL)},
        {"SOUNDSOUND X-GNOX-CLASS",
         keyWordBit(KW_SOUND) | keyWordBit(KW_X_GNO) | keyWordBit(KW_X_CLASS)},
        {"VERSION:2.1", keyWordBit(KW_VERSION)},
        {"VERSION 2.1", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(findVCardKeyWords(c.line.c_str()), c.found);
        EXPECT_EQ(searchedOneByOne(c.line), c.found);
    }
}

// Lines put together from pieces of the words, lead and trail bytes, so that words start on
// and off character boundaries: the one pass finds exactly what the searches find.
TEST(VCardKeyWords, AgreesWithASearchForEachWordOnMixedLines)
{
    const std::string pieces[] = {
        "TEL;",      "TE",       "L;",         "EMAIL;",   "EMAI",
        "X-GNO",     "X-",       "GNO",        "SOUND",    "NOTE",
        "END:VCARD", "END:",     "VCARD",      "VERSION:", "ENCODING=QUOTED-PRINTABLE",
        "WORK",      "HOME",     "VOICE",      "FAX",      "CELL",
        "PCS",       "SHOP",     "RESTAURANT", "HOSPITAL", "OTHER",
        "X-NEC-PHS", "INTERNET", "\x83",       "\x81",     "\xE0",
        "\x82\xA0",  "\x95\x5C", ";",          ":",        "=",
        "a",         "\x7F",     "\xFC",
    };
    std::mt19937 random(12);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(0, 12);
    int withWords = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string line;
        for (int n = length(random); n > 0; --n)
            line += pieces[pick(random)];
        const VCardKeyWords expected = searchedOneByOne(line);
        ASSERT_EQ(findVCardKeyWords(line.c_str()), expected) << line;
        withWords += expected != 0;
    }
    EXPECT_GT(withWords, 1000);
}

} // namespace
