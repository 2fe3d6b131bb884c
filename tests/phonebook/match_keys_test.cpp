// The keys by which the matching recognises a number, a reading, a name or an address.

#include "phonebook/core/match_keys.h"
#include "phonebook/core/reading_classes.h"

#include <gtest/gtest.h>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

TEST(MatchKeys, NumberFormsOfOneMobileGiveOneKey)
{
    const char* forms[] = {
        "090-1234-5678",
        "09012345678",
        "+81 90 1234 5678",
        "+81-90-1234-5678",
        "+81 090 1234 5678",
        "０９０１２３４５６７８",
        "０９０－１２３４－５６７８",
        "186 090-1234-5678",
        "18609012345678",
        "184-090-1234-5678",
        "01081 90 1234 5678",
        "(090) 1234.5678",
        "09012345678P123",
        "090-1234-5678p#1",
    };
    for (const char* form : forms)
        EXPECT_EQ(numberMatchKey(u(form)), u("09012345678")) << form;
}

TEST(MatchKeys, NumbersThatAreNotTheSameStayApart)
{
    struct Case {
        const char* number;
        const char* key;
    };
    const Case cases[] = {
        {"0312345678", "0312345678"},        // a landline keeps its area code
        {"+8103 1234 5678", "0312345678"},   // a trunk 0 after +81 is not doubled
        {"+1 418 656 9254", "+14186569254"}, // another country stays as it is
        {"1840", "1840"},                    // a short number is no caller-ID prefix
        {"110", "110"},
        {"1860312345", "1860312345"},   // too short for a prefix and a national number
        {"06012345678", "06012345678"}, // the 060 mobiles are numbers like any other
        {"****", ""},                   // the import's placeholder is no key
        {"P123", ""},
        {"", ""},
        {"---", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(numberMatchKey(u(c.number)), u(c.key)) << c.number;
}

TEST(MatchKeys, TheDialFormKeepsWhatFollowsThePause)
{
    struct Case {
        const char* number;
        const char* form;
    };
    const Case cases[] = {
        {"03-1234-5678p101", "0312345678P101"},
        {"+81 3 1234 5678 P 1 # 2", "0312345678P1#2"},
        {"186 090-1234-5678", "09012345678"}, // the caller-ID prefix dials the same line
        {"０９０１２３４５６７８", "09012345678"},
        {"****", ""},
        {"P123", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(numberDialForm(u(c.number)), u(c.form)) << c.number;
}

TEST(MatchKeys, ServiceNumbersAndLandlines)
{
    struct Case {
        const char* key;
        bool service;
        bool landline;
    };
    const Case cases[] = {
        {"0120123456", true, false},   {"0570012345", true, false},   {"08001234567", true, false},
        {"0312345678", false, true},   {"0662345678", false, true},   {"0186123456", false, true},
        {"09012345678", false, false}, {"08012345678", false, false}, {"07012345678", false, false},
        {"06012345678", false, false}, {"05012345678", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isServiceNumber(u(c.key)), c.service) << c.key;
        EXPECT_EQ(isLandline(u(c.key)), c.landline) << c.key;
    }
}

TEST(MatchKeys, ReadingFormsCompareEqualButVoicingMarksDoNot)
{
    ReadingClasses readings;
    const char* sato[] = {"ｻﾄｳ", "さとう", "サトウ", "サ トウ", "ｻ　ﾄｳ", "さとう "};
    const char* others[] = {"ざとう", "ｻﾞﾄｳ", "さと", "さとお", "ぱとう", "ばとう"};
    std::vector<int> satoPositions;
    std::vector<int> otherPositions;
    for (const char* reading : sato)
        satoPositions.push_back(readings.add(readingMatchText(u(reading))));
    for (const char* reading : others)
        otherPositions.push_back(readings.add(readingMatchText(u(reading))));
    readings.classify();
    for (std::size_t i = 0; i < satoPositions.size(); ++i)
        EXPECT_EQ(readings.classOf(satoPositions[i]), readings.classOf(satoPositions[0]))
            << sato[i];
    for (std::size_t i = 0; i < otherPositions.size(); ++i)
        EXPECT_NE(readings.classOf(otherPositions[i]), readings.classOf(satoPositions[0]))
            << others[i];
    // ざとう and ｻﾞﾄｳ are one reading; ぱ and ば differ in their mark.
    EXPECT_EQ(readings.classOf(otherPositions[0]), readings.classOf(otherPositions[1]));
    EXPECT_NE(readings.classOf(otherPositions[4]), readings.classOf(otherPositions[5]));
}

TEST(MatchKeys, NamesFoldWidthBlanksAndCaseButNotVariantKanji)
{
    EXPECT_EQ(nameMatchKey(u("山田　太郎")), nameMatchKey(u("山田太郎")));
    EXPECT_EQ(nameMatchKey(u("John Smith")), nameMatchKey(u("ＪＯＨＮ　ＳＭＩＴＨ")));
    EXPECT_EQ(nameMatchKey(u("ﾔﾏﾀﾞ")), nameMatchKey(u("ヤマダ")));
    EXPECT_NE(nameMatchKey(u("髙橋一郎")), nameMatchKey(u("高橋一郎")));
    const char* variantPairs[][2] = {{"髙橋一郎", "高橋一郎"},
                                     {"山﨑花子", "山崎花子"},
                                     {"渡邊修", "渡辺修"},
                                     {"渡邉修", "渡辺修"}};
    for (const auto& pair : variantPairs)
        EXPECT_EQ(nameVariantKey(nameMatchKey(u(pair[0]))),
                  nameVariantKey(nameMatchKey(u(pair[1]))))
            << pair[0];
    EXPECT_NE(nameVariantKey(nameMatchKey(u("高橋一郎"))),
              nameVariantKey(nameMatchKey(u("高橋二郎"))));
}

TEST(MatchKeys, AddressesLowerTheDomainAndKeepCarrierLocalParts)
{
    EXPECT_EQ(addressMatchKey(u("Taro@Example.CO.JP")), u("Taro@example.co.jp"));
    EXPECT_NE(addressMatchKey(u("Taro@example.co.jp")), addressMatchKey(u("taro@example.co.jp")));
    EXPECT_EQ(addressMatchKey(u("taro..yamada.@DoCoMo.ne.jp")), u("taro..yamada.@docomo.ne.jp"));
    EXPECT_NE(addressMatchKey(u("taro..yamada.@docomo.ne.jp")),
              addressMatchKey(u("taro.yamada@docomo.ne.jp")));
    EXPECT_EQ(addressMatchKey(u("")), QString());
}

} // namespace
