#include "exchange/core/left_out_count.h"

#include "exchange/core/input_file.h"
#include "exchange/core/text_conversions.h"

#include <QFile>

namespace {

// A card's first line is short; longer lines are read in pieces and only their first piece is
// looked at.
constexpr qint64 PIECE_BYTES = 512;

struct LineScan {
    int lines = 0;
    int cardBegins = 0;
};

LineScan scanLines(const QString& path)
{
    LineScan scan;
    QFile file(path);
    if (!isPlainFileOrMissing(path) || !file.open(QIODevice::ReadOnly))
        return scan;
    char piece[PIECE_BYTES + 1];
    bool atLineStart = true;
    for (;;) {
        const qint64 got = file.readLine(piece, sizeof piece);
        if (got <= 0)
            break;
        if (atLineStart) {
            ++scan.lines;
            if (containsSjis(piece, "BEGIN:VCARD"))
                ++scan.cardBegins;
        }
        atLineStart = piece[got - 1] == '\n';
    }
    return scan;
}

} // namespace

int vCardCardsBeyond(const QString& path, int kept)
{
    const int cards = scanLines(path).cardBegins;
    return cards > kept ? cards - kept : 0;
}

int linesBeyond(const QString& path, int kept)
{
    const int lines = scanLines(path).lines;
    return lines > kept ? lines - kept : 0;
}
