// Renders the Markdown manual to PDF with Qt's own text layout and PDF writer, so the manual
// needs nothing beyond Qt and a Japanese font.
//   vemblor-manual-pdf SOURCE.md IMAGE_DIR OUTPUT.pdf

#include <QApplication>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
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

    QPdfWriter writer(args[3]);
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
    document.setMarkdown(QString::fromUtf8(source.readAll()));
    document.print(&writer);
    return 0;
}
