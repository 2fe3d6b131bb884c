// The reading service over the real dictionaries: MeCab with the IPA dictionary and the names
// table built into the program.

#include "readings/kana_text.h"
#include "readings/reading_service.h"

#include <gtest/gtest.h>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

TEST(ReadingService, ReadsNamesOfEveryKind)
{
    const struct {
        const char* name;
        const char* best;
    } cases[] = {
        {"佐藤", "ｻﾄｳ"},                // MeCab and the names table agree
        {"鈴木 一郎", "ｽｽﾞｷ ｲﾁﾛｳ"},     // a blank stays a blank
        {"田中　花子", "ﾀﾅｶ ﾊﾅｺ"},      // so does a full-width one
        {"山田太郎", "ﾔﾏﾀﾞﾀﾛｳ"},        // split without a blank
        {"小鳥遊", "ﾀｶﾅｼ"},             // only the names table knows it
        {"四月一日", "ﾜﾀﾇｷ"},           // a surname, not a date
        {"翔平", "ｼｮｳﾍｲ"},              // not MeCab's ｼｮｳﾀｲﾗ
        {"髙橋", "ﾀｶﾊｼ"},               // a variant kanji of code page 932
        {"山田歯科医院", "ﾔﾏﾀﾞｼｶｲｲﾝ"},  // a business name, word by word
        {"さくら薬局", "ｻｸﾗﾔｯｷｮｸ"},     // kana with words
        {"やまだ はなこ", "ﾔﾏﾀﾞ ﾊﾅｺ"},  // kana as they stand
        {"ﾔﾏﾀﾞ", "ﾔﾏﾀﾞ"},               // half-width kana as well
        {"ヴァイオレット", "ｳﾞｧｲｵﾚｯﾄ"}, // a voiced sound takes two characters
    };
    for (const auto& c : cases) {
        const QStringList candidates = readingCandidates(u(c.name));
        ASSERT_FALSE(candidates.isEmpty()) << c.name;
        EXPECT_EQ(candidates.front(), u(c.best)) << c.name;
    }
}

TEST(ReadingService, ReadsLatinNamesAsTheirLettersAndCompaniesWithoutTheirLegalForm)
{
    const struct {
        const char* name;
        const char* best;
    } cases[] = {
        {"Smith John", "SMITH JOHN"},
        {"Müller  Zoë", "MULLER ZOE"},       // accents folded, blanks collapsed
        {"Ｏ’Ｂｒｉｅｎ", "O'BRIEN"},        // full-width letters are ASCII ones
        {"株式会社山田工務店", "ﾔﾏﾀﾞｺｳﾑﾃﾝ"}, // the legal form is not read
        {"山田工務店株式会社", "ﾔﾏﾀﾞｺｳﾑﾃﾝ"}, // wherever it stands
        {"（株）山田", "ﾔﾏﾀﾞ"},              // nor its short forms
        {"㈲佐藤", "ｻﾄｳ"},                   // ㈲ is (有)
        {"株式会社ABC", "ABC"},
        {"株式会社", "ｶﾌﾞｼｷｶﾞｲｼｬ"}, // nothing else to read
        {"John Smith-Jones Jr.", "JOHN SMITH-JONES JR."},
    };
    for (const auto& c : cases) {
        const QStringList candidates = readingCandidates(u(c.name));
        ASSERT_FALSE(candidates.isEmpty()) << c.name;
        EXPECT_EQ(candidates.front(), u(c.best)) << c.name;
    }
}

TEST(ReadingService, GivesNoCandidateForWhatItCannotRead)
{
    for (const char* name : {"", "   ", "ABC商事", "山田 Taro", "佐藤2", "３年Ｂ組", "佐藤 煌翔",
                             "田中 黄熊", "山田 皇帝", "★", "1234", "Иван"})
        EXPECT_TRUE(readingCandidates(u(name)).isEmpty()) << name;
}

TEST(ReadingService, CandidatesAreHalfWidthKatakanaThatFitTheField)
{
    for (const char* name : {"陽菜", "佐藤 学", "渡辺法律事務所", "長谷川 真由美"}) {
        QStringList candidates = readingCandidates(u(name));
        EXPECT_FALSE(candidates.isEmpty()) << name;
        EXPECT_LE(candidates.size(), 10);
        for (const QString& reading : candidates) {
            EXPECT_FALSE(reading.isEmpty());
            EXPECT_LT(reading.size(), 33) << reading.toStdString();
            for (QChar c : reading)
                EXPECT_TRUE(c == u' ' || (c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F))
                    << reading.toStdString();
        }
        EXPECT_EQ(candidates.removeDuplicates(), 0);
    }
}

TEST(ReadingService, ReadingsLongerThanTheFieldAreLeftOut)
{
    // Sixteen voiced kana take 32 bytes in half-width form, one more does not fit.
    EXPECT_EQ(readingCandidates(QString(16, QChar(u'ガ'))),
              QStringList{QString(16, QChar(u'ｶ')).replace(QChar(u'ｶ'), u("ｶﾞ"))});
    EXPECT_TRUE(readingCandidates(QString(17, QChar(u'ガ'))).isEmpty());
}

TEST(ReadingService, GivesTheBestReadingAsTheBytesOfAReadingField)
{
    EXPECT_EQ(bestReadingCp932(u("佐藤")), QByteArray("\xbb\xc4\xb3")); // ｻﾄｳ
    EXPECT_EQ(bestReadingCp932(u("ABC")), QByteArray("ABC"));
    EXPECT_EQ(bestReadingCp932(u("★")), QByteArray());
}

TEST(KanaText, ConvertsKanaToHalfWidthForms)
{
    EXPECT_EQ(toKatakana(u("ひらがなとカタカナ")), u("ヒラガナトカタカナ"));
    EXPECT_EQ(toHalfWidthKatakana(u("パーティー・ヴ")), u("ﾊﾟｰﾃｨｰ･ｳﾞ"));
    EXPECT_EQ(toHalfWidthKatakana(u("ヰヱヶ")), u("ｲｴｹ"));
    EXPECT_FALSE(toHalfWidthKatakana(u("カ山")).has_value());
    EXPECT_EQ(normalizedName(u("ｶﾞｯｺｳ　ＡＢＣ  髙﨑")), u("ガッコウ ABC 高崎"));
}

} // namespace
