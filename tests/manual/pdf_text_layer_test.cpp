// The repair of a PDF's ToUnicode maps on a small PDF laid out as Qt's writer lays it out: the
// targets change, a map that grows moves every later object, and the cross-reference table
// and startxref follow.

#include "manual/pdf_text_layer.h"

#include <QList>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// A PDF of three objects, the second a ToUnicode map with the given entries, with its
// cross-reference table.
QByteArray pdfWithMap(const QByteArray& entries)
{
    const QByteArray map = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                           "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n"
                           "3 beginbfrange\n" +
                           entries + "endbfrange\nendcmap\n";
    QByteArray pdf = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    offsets << pdf.size();
    pdf += "1 0 obj\n<< /Type /Catalog >>\nendobj\n";
    offsets << pdf.size();
    pdf += "2 0 obj\n<< /Length " + QByteArray::number(map.size()) + " >>\nstream\n" + map +
           "\nendstream\nendobj\n";
    offsets << pdf.size();
    pdf += "3 0 obj\n<< /Type /Page >>\nendobj\n";
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 4\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<<\n/Size 4 \n/Root 1 0 R\n>>\nstartxref\n" + QByteArray::number(xref) +
           " \n%%EOF\n";
    return pdf;
}

QByteArray mapOf(const QByteArray& pdf)
{
    const qsizetype start = pdf.indexOf("stream\n") + 7;
    const QRegularExpression length(QStringLiteral("/Length (\\d+)"));
    const int n = length.match(QString::fromLatin1(pdf)).captured(1).toInt();
    EXPECT_EQ(pdf.mid(start + n, 10), "\nendstream") << "the stream's /Length is wrong";
    return pdf.mid(start, n);
}

// Every object the table names is where it says, and startxref names the table.
void expectOffsetsRight(const QByteArray& pdf)
{
    const qsizetype startxref = pdf.lastIndexOf("startxref\n") + 10;
    const qsizetype table =
        pdf.mid(startxref, pdf.indexOf('\n', startxref) - startxref).trimmed().toLongLong();
    ASSERT_TRUE(pdf.mid(table).startsWith("xref\n0 4\n"));
    for (int object = 1; object <= 3; ++object) {
        const qsizetype offset = pdf.mid(table + 9 + 20 * object, 10).toLongLong();
        EXPECT_TRUE(pdf.mid(offset).startsWith(QByteArray::number(object) + " 0 obj"))
            << "object " << object;
    }
}

const RadicalIdeographs IDEOGRAPHS = {{0x2F8F, 0x884C}, {0x2F00, 0x4E00}, {0x2ED1, 0x9577}};

TEST(PdfTextLayer, RadicalsInEveryFormOfEntryBecomeTheirIdeographs)
{
    struct Case {
        const char* entries;
        const char* repaired;
    } cases[] = {
        // a single glyph, a list, a range of consecutive targets that holds a radical
        {"<0003> <0003> <2F8F>\n", "<0003> <0003> <884C>\n"},
        {"<0001> <0003> [<3042> <2F00> <2ED1> ]\n", "<0001> <0003> [<3042> <4E00> <9577> ]\n"},
        {"<0005> <0007> <2F8E>\n", "<0005> <0007> [<2F8E> <884C> <2F90> ]\n"},
        // a glyph whose code is a radical's number but whose target is not a radical
        {"<2F8F> <2F8F> <3042>\n", "<2F8F> <2F8F> <3042>\n"},
    };
    for (const Case& c : cases) {
        const QByteArray original = pdfWithMap(c.entries);
        const QByteArray repaired = withIdeographsForRadicals(original, IDEOGRAPHS);
        EXPECT_TRUE(mapOf(repaired).contains(c.repaired)) << c.entries;
        expectOffsetsRight(repaired);
        EXPECT_EQ(repaired.size() - original.size(),
                  qsizetype(qstrlen(c.repaired)) - qsizetype(qstrlen(c.entries)));
    }
}

TEST(PdfTextLayer, APdfWithoutRadicalsOrNotLaidOutAsExpectedIsLeftAlone)
{
    const QByteArray plain = pdfWithMap("<0001> <0002> <3042>\n");
    EXPECT_EQ(withIdeographsForRadicals(plain, IDEOGRAPHS), plain);
    QByteArray noTable = pdfWithMap("<0005> <0007> <2F8E>\n");
    noTable.replace("xref\n0 4", "xrfe\n0 4");
    EXPECT_EQ(withIdeographsForRadicals(noTable, IDEOGRAPHS), noTable);
    EXPECT_EQ(withIdeographsForRadicals(QByteArray(), IDEOGRAPHS), QByteArray());
}

} // namespace
