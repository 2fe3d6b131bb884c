#pragma once
// The personal-names table: readings of Japanese surnames and given names (ENAMDICT data,
// see data/ENAMDICT-NOTICE.md), each with how many writings carry that reading in that role.
// The table stays compressed in the program and is unpacked once; lookups search the sorted
// lines in place, so loading costs one pass over the text and no per-entry allocation.

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <vector>

// Whose data the table is and under which licence, as the program shows it (バージョン情報).
inline constexpr const char NAMES_TABLE_NOTICE[] =
    "名前の読みの表は、Electronic Dictionary Research and Development Group（EDRDG）の"
    "人名辞書 ENAMDICT（Jim Breen ほか編）をもとに作っています。ENAMDICT とこの表は "
    "CC BY-SA 4.0 で利用できます。\n"
    "https://creativecommons.org/licenses/by-sa/4.0/\n"
    "https://www.edrdg.org/edrdg/licence.html";

enum class NameRole { Surname, Given };

struct NameReading {
    QString katakana;
    int popularity; // log2 of the writings that share this reading in this role, 0-9
    int fit;        // how well it fits the writing's characters, 9 = best of its readings, 0-9
};

class NamesTable {
public:
    // Unpacks the table (a 4-byte big-endian length and a zlib stream); false when it is damaged.
    bool load(const QByteArray& packed);

    std::vector<NameReading> readings(QStringView writing, NameRole role) const;

private:
    QByteArrayView findLine(QStringView writing) const;

    QByteArray text_;
    std::vector<qsizetype> lineStarts_;
};
