#include "exchange/core/text_conversions.h"
#include "phonebook/core/cp932_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Code page 932 bytes of UTF-8 text.
std::string sjis(const char* utf8)
{
    const auto bytes = toCp932(QString::fromUtf8(utf8));
    EXPECT_TRUE(bytes.has_value()) << utf8;
    return bytes ? bytes->toStdString() : std::string();
}

std::string encoded(const std::string& input)
{
    std::vector<char> out(QP_ENCODED_SIZE, '\0');
    encodeQuotedPrintable(input.c_str(), out.data());
    return std::string(out.data());
}

std::string decoded(const std::string& input, std::size_t capacity = 200)
{
    std::vector<char> out(capacity + 8, '\x55'); // guard bytes after the capacity
    std::fill_n(out.begin(), capacity, '\0');
    decodeQuotedPrintable(input.c_str(), out.data(), capacity);
    for (std::size_t i = capacity; i < out.size(); ++i)
        EXPECT_EQ(out[i], '\x55') << "wrote past the capacity";
    return std::string(out.data(), strnlen(out.data(), capacity));
}

std::string halfWidth(const std::string& input)
{
    std::vector<char> buffer(input.begin(), input.end());
    buffer.push_back('\0');
    EXPECT_EQ(toHalfWidth(buffer.data(), buffer.size()), 0);
    return std::string(buffer.data());
}

TEST(SjisByteClass, ClassifiesLeadTrailAndBrokenPairs)
{
    const std::string a = sjis("ア"); // 83 41
    EXPECT_EQ(sjisByteClass(a.c_str(), 0), SJIS_LEAD);
    EXPECT_EQ(sjisByteClass(a.c_str(), 1), SJIS_TRAIL);
    EXPECT_EQ(sjisByteClass(a.c_str(), 2), SJIS_SINGLE);
    EXPECT_EQ(sjisByteClass("\x81\x30", 1), SJIS_SINGLE);
    EXPECT_EQ(sjisByteClass("\x81\x81\x41", 2), SJIS_SINGLE);
    EXPECT_EQ(sjisByteClass("", 0), SJIS_SINGLE);
}

TEST(CutToField, NeverLeavesHalfACharacter)
{
    char field[33];
    const std::string sixteen = sjis("表表表表表表表表表表表表表表表表"); // trail byte 0x5C
    cutToField(field, 32, sixteen.c_str());
    EXPECT_EQ(std::string(field), sixteen);
    cutToField(field, 32, ("A" + sixteen).c_str());
    EXPECT_EQ(std::string(field), ("A" + sixteen).substr(0, 31));
    cutToField(field, 32, "0312345678");
    EXPECT_STREQ(field, "0312345678");
}

TEST(EncodeQuotedPrintable, EscapesWhatIsNotPlainPrintable)
{
    const std::pair<std::string, std::string> cases[] = {
        {"a=b", "a=3Db"},     {"\r\n", "=0D=0A"},     {"\t x", "\t x"}, {"~\x7F", "~=7F"},
        {sjis("ア"), "=83A"}, {sjis("あ"), "=82=A0"}, {"", ""},
    };
    for (const auto& [input, output] : cases)
        EXPECT_EQ(encoded(input), output) << input;
}

TEST(EncodeQuotedPrintable, StopsAtTheFirstByteThatDoesNotFitWhole)
{
    // 395 literal characters leave room for one more escape (398), not for a second.
    EXPECT_EQ(encoded(std::string(395, 'x') + "\xFF\xFF"), std::string(395, 'x') + "=FF");
    // 396 characters written: no escape fits any more, though a literal still does.
    EXPECT_EQ(encoded(std::string(396, 'x') + "\xFFy"), std::string(396, 'x'));
    EXPECT_EQ(encoded(std::string(500, 'x')), std::string(399, 'x'));
    EXPECT_EQ(encoded(std::string(200, '\xE0')).size(), 396u); // 132 escapes
}

TEST(DecodeQuotedPrintable, TurnsEscapesIntoBytes)
{
    const std::pair<std::string, std::string> cases[] = {
        {"=8b=A0", "\x8B\xA0"},
        {"plain text", "plain text"},
        {"=82=A0=82=A2", sjis("あい")},
        {"a=3Db", "a=b"},
        {"=4", "\x04"},    // cut off by the end of the input
        {"x=", "x"},       // likewise, with no digit at all
        {"=4Gx", "\x04x"}, // one digit is read, the walk still moves on by three
        {"ab=ZZcd", "ab"}, // no digit: the zero byte ends the text
    };
    for (const auto& [input, output] : cases)
        EXPECT_EQ(decoded(input), output) << input;
}

TEST(DecodeQuotedPrintable, KeepsTheLastByteOfTheBufferForTheTerminator)
{
    EXPECT_EQ(decoded(std::string(300, 'x'), 200), std::string(199, 'x'));
    EXPECT_EQ(decoded("=41=42=43", 3), "AB");
}

TEST(ToHalfWidth, ConvertsTheTableAndDropsOtherDoubleByteCharacters)
{
    const std::pair<const char*, const char*> cases[] = {
        {"ヤマダ　タロウ", "ﾔﾏﾀﾞ ﾀﾛｳ"},
        {"やまだ", ""},
        {"山田ＡＢＣ", "ABC"},
        {"ｱｲｳ", "ｱｲｳ"},
        {"ヴァ", "ｳﾞｧ"},
        {"パピプペポ", "ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ"},
        {"ガッコウ", "ｶﾞｯｺｳ"},
        {"ヮヰヱヵヶ", "ﾜｲｴｶｹ"},
        {"ミム", "ﾐﾑ"}, // either side of the missing trail byte 0x7F
        {"０９ａｚＺ", "09azZ"},
        {"、。，．：；？！＾＿ー／～’＋－＃＊＠", "､｡,.:;?!^_ｰ/~'+-#*@"},
        {"・゛゜‘“”（）「」＝＄％＆＜＞￥｜", ""},
        {"abc 123", "abc 123"},
    };
    for (const auto& [input, output] : cases)
        EXPECT_EQ(halfWidth(sjis(input)), sjis(output)) << input;
}

TEST(ToHalfWidth, EveryFullWidthKatakanaHasTheHalfWidthFormOfItsKana)
{
    // ァ (U+30A1) to ヶ (U+30F6): compare with the compatibility forms the platform knows.
    int converted = 0;
    for (char16_t code = 0x30A1; code <= 0x30F6; ++code) {
        const QString full(QChar{code});
        const std::string half = halfWidth(sjis(full.toUtf8().constData()));
        ASSERT_FALSE(half.empty()) << full.toStdString();
        const QString back = fromCp932(QByteArrayView(half.data(), half.size()));
        const QString composed = back.normalized(QString::NormalizationForm_KC);
        if (composed == full)
            ++converted;
    }
    // Only ヮヰヱヵヶ have no half-width form of their own and are given a near one.
    EXPECT_EQ(converted, 86 - 5);
}

TEST(ToHalfWidth, ALeadByteAtTheEndIsDroppedWithoutReadingFurther)
{
    char text[8] = {'a', '\x83', '\0', 'Z', 'Z', 'Z', 'Z', '\0'};
    toHalfWidth(text, sizeof text);
    EXPECT_STREQ(text, "a");
    char invalidTrail[] = "\x81\x30x";
    toHalfWidth(invalidTrail, sizeof invalidTrail);
    EXPECT_STREQ(invalidTrail, "x");
}

TEST(ContainsSjis, FindsWordsOnlyAtCharacterBoundaries)
{
    EXPECT_TRUE(containsSjis("TEL;CELL:090", "CELL"));
    EXPECT_FALSE(containsSjis("tel;cell:", "CELL"));
    // A double-byte character whose trail byte is 'T' (0x54), followed by "EL;", is no TEL;
    const std::string fake = "\x88\x54"
                             "EL;";
    EXPECT_FALSE(containsSjis(fake.c_str(), "TEL;"));
    EXPECT_TRUE(containsSjis((fake + "TEL;").c_str(), "TEL;"));
}

} // namespace
