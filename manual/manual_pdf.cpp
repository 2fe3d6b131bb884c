// Renders the Markdown manual to PDF with Qt's own text layout and PDF writer, so the manual
// needs nothing beyond Qt and a Japanese font. The writer's text layer is repaired afterwards so
// that searching and copying see the ideographs the pages show (see pdf_text_layer.h).
//   vemblor-manual-pdf SOURCE.md IMAGE_DIR OUTPUT.pdf

#include "manual/pdf_text_layer.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QUrl>

#include <cstdio>

namespace {

QFont bodyFont()
{
    // Latin letters and digits from DejaVu Sans, kana and kanji from Noto Sans CJK JP: with the
    // CJK font alone the PDF's text layer loses the digits (its ToUnicode map has no entry for
    // the proportional digit glyphs), so searching or copying "1.03" would fail.
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK JP")});
    font.setPointSize(10);
    return font;
}

// Scales every picture wider than width (in the document's pixels) down to it.
void fitPictures(QTextDocument& document, qreal width)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat picture = fragment.charFormat().toImageFormat();
            const QImage image =
                document.resource(QTextDocument::ImageResource, QUrl(picture.name()))
                    .value<QImage>();
            if (image.isNull() || image.width() <= width)
                continue;
            picture.setWidth(width);
            picture.setHeight(image.height() * width / image.width());
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(picture);
        }
    }
}

// The width of the text on the page in the document's pixels (96 to the inch), as
// QTextDocument::print lays an unpaginated document out: the writer's page less a margin of
// 2 cm on each side and the document's own margin.
qreal textWidth(const QPdfWriter& writer, const QTextDocument& document)
{
    constexpr qreal pixelsPerInch = 96;
    const qreal page = writer.width() * pixelsPerInch / writer.logicalDpiX();
    const int printMargin = int((2 / 2.54) * pixelsPerInch);
    return page - 2 * printMargin - 2 * document.documentMargin();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 4) {
        std::fputs("usage: vemblor-manual-pdf SOURCE.md IMAGE_DIR OUTPUT.pdf\n", stderr);
        return 2;
    }
    QFile source(args[1]);
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(args[1]));
        return 1;
    }

    const QString markdown = QString::fromUtf8(source.readAll());
    QSet<char32_t> written;
    for (char32_t c : markdown.toUcs4())
        written.insert(c);

    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setTitle(QStringLiteral("Vemblor 取扱説明書"));
    writer.setCreator(QStringLiteral("Vemblor"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter));
    writer.setResolution(150);

    QTextDocument document;
    document.setDefaultFont(bodyFont());
    document.setBaseUrl(QUrl::fromLocalFile(args[2] + QLatin1Char('/')));
    document.setDefaultStyleSheet(QStringLiteral("h1 { color: #1d3f72; } h2 { color: #1d3f72; } "
                                                 "table { border-collapse: collapse; }"));
    document.setMarkdown(markdown);
    fitPictures(document, textWidth(writer, document));
    document.print(&writer);

    const RadicalIdeographs radicals =
        radicalIdeographs(QFont(QStringLiteral("Noto Sans CJK JP")), written);
    QSaveFile output(args[3]);
    if (!output.open(QIODevice::WriteOnly) ||
        output.write(withIdeographsForRadicals(pdf.data(), radicals)) < 0 || !output.commit()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args[3]));
        return 1;
    }
    return 0;
}
