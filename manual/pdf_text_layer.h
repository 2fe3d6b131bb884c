#pragma once
// Repairs the text layer of a PDF that Qt's PDF writer made with a CJK font.
//
// The writer names, in each embedded font's ToUnicode map, the lowest code point that the font
// maps to a glyph. CJK fonts give the Kangxi radicals (U+2F00-U+2FDF) and a few CJK radical
// supplements the glyphs of the ideographs they look like, so 行 (U+884C) is written as the
// radical ⾏ (U+2F8F) and 一 (U+4E00) as ⼀ (U+2F00): the page shows the right character, but
// copying and searching see the radical. This maps every such radical back to its ideograph
// (the ideograph the font draws with the same glyph), except the radicals the document really
// contains.

#include <QByteArray>
#include <QFont>
#include <QHash>
#include <QSet>

// Radical code point -> the ideograph with the same glyph.
using RadicalIdeographs = QHash<char32_t, char32_t>;

// The radicals (U+2E80-U+2FDF) that font draws with the glyph of a unified ideograph, each with
// the lowest such ideograph; none of the code points in keep.
RadicalIdeographs radicalIdeographs(const QFont& font, const QSet<char32_t>& keep);

// The PDF with the targets of its ToUnicode maps mapped through ideographs and its object
// offsets moved to match; the PDF unchanged when no map changes or it is not laid out as
// Qt's writer lays it out.
QByteArray withIdeographsForRadicals(const QByteArray& pdf, const RadicalIdeographs& ideographs);
