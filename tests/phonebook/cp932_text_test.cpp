#include "phonebook/core/cp932_text.h"

#include <gtest/gtest.h>

namespace {

struct TwinCase {
    char16_t typed;
    char16_t folded;
    const char* bytes;
};

// What Linux input methods type, the code page 932 form it folds to, and that form's bytes.
constexpr TwinCase TWINS[] = {
    {u'\u301C', u'\uFF5E', "\x81\x60"}, // wave dash
    {u'\u2212', u'\uFF0D', "\x81\x7C"}, // minus sign
    {u'\u2014', u'\u2015', "\x81\x5C"}, // em dash
    {u'\u2016', u'\u2225', "\x81\x61"}, // double vertical line
    {u'\u00A2', u'\uFFE0', "\x81\x91"}, // cent
    {u'\u00A3', u'\uFFE1', "\x81\x92"}, // pound
    {u'\u00AC', u'\uFFE2', "\x81\xCA"}, // not
};

TEST(Cp932Text, TwinsFoldToTheirCodePage932FormAndEncode)
{
    for (const TwinCase& twin : TWINS) {
        const QString typed = QStringLiteral("a") + QChar(twin.typed) + QStringLiteral("b");
        const QString folded = QStringLiteral("a") + QChar(twin.folded) + QStringLiteral("b");
        SCOPED_TRACE(QString(QChar(twin.typed)).toStdString());
        EXPECT_EQ(foldToCp932Forms(typed), folded);
        const QByteArray expected = QByteArray("a") + twin.bytes + "b";
        EXPECT_EQ(toCp932(typed), expected);
        EXPECT_EQ(toCp932(folded), expected);
        EXPECT_EQ(cp932Length(typed), 4);
        EXPECT_EQ(fromCp932(expected), folded);
    }
}

TEST(Cp932Text, CharactersWithoutAnyFormAreRefused)
{
    for (const QString& text : {QStringLiteral("Müller"), QStringLiteral("x\U0001F600")}) {
        EXPECT_FALSE(toCp932(text).has_value());
        EXPECT_EQ(cp932Length(text), -1);
        char field[8] = "keep";
        EXPECT_FALSE(storeCp932(text, field, sizeof field));
        EXPECT_STREQ(field, "keep");
    }
}

} // namespace

namespace {

// The converters are kept per thread, so nothing one conversion leaves behind may reach the
// next one.
TEST(Cp932Text, AConversionLeavesNothingBehindForTheNext)
{
    EXPECT_FALSE(toCp932(QStringLiteral("Müller")).has_value());
    EXPECT_EQ(toCp932(QStringLiteral("見本")), QByteArray("\x8C\xA9\x96\x7B"));
    EXPECT_EQ(cp932Length(QStringLiteral("x\U0001F600")), -1);
    EXPECT_EQ(cp932Length(QStringLiteral("～")), 2);

    // A lead byte at the very end is an unfinished character; the next text starts afresh.
    EXPECT_EQ(fromCp932(QByteArrayView("ab\x82")), QStringLiteral("ab"));
    EXPECT_EQ(fromCp932(QByteArrayView("\xA0x")), fromCp932(QByteArrayView("\xA0")) + u'x');
    EXPECT_EQ(fromCp932(QByteArrayView("\x82\xA0")), QStringLiteral("あ"));
}

TEST(Cp932Text, PlainAsciiReadsAsTheTableReadsIt)
{
    QByteArray printable;
    for (char c = 0x20; c < 0x7F; ++c)
        printable += c;
    // Next to a double-byte character the whole text goes through the table.
    EXPECT_EQ(fromCp932(printable), fromCp932(printable + "\x82\xA0").chopped(1));
    EXPECT_EQ(toCp932(fromCp932(printable)), printable);
    EXPECT_EQ(toCp932(fromCp932(printable) + u'あ'), printable + "\x82\xA0");
    // The control bytes the table moves keep their table forms.
    for (const char* control : {"\x1A", "\x1C", "\x7F"})
        EXPECT_EQ(toCp932(fromCp932(QByteArrayView(control))), QByteArray(control));
    EXPECT_NE(fromCp932(QByteArrayView("\x7F")), QStringLiteral("\x7F"));
}

TEST(Cp932Text, FoldingReachesEveryPositionAndLeavesOtherTextAlone)
{
    EXPECT_EQ(foldToCp932Forms(QStringLiteral("〜a〜")), QStringLiteral("～a～"));
    EXPECT_EQ(foldToCp932Forms(QStringLiteral("ab−")), QStringLiteral("ab－"));
    const QString plain = QStringLiteral("山田 太郎 ～");
    EXPECT_EQ(foldToCp932Forms(plain), plain);
}

} // namespace
