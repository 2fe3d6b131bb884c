#pragma once
// Ranks the readings a name may have. A name is read as a surname followed by given names
// (split at its blanks, or, without a blank, at every place where the text before is a known
// surname), as one surname or given name, or as ordinary words (shops, offices, words for
// people). Each reading of a part earns points for the evidence behind it:
//  - the names table lists it for the role the part plays (fewer points for the other role),
//    plus its two numbers: how many writings share the reading, how well it fits the characters;
//  - MeCab's dictionary holds the part as a personal name with that reading (more for the role
//    the part plays, more for a lower word cost), or as another word with it;
//  - MeCab's best split of the part, or of a name without a blank, reads it so.
// Every part costs a fixed amount, so one known word or name beats two short ones that happen
// to be names as well; a text that is a name of its own or one ordinary word is not split. A
// part that neither dictionary can read makes the whole name unreadable: no guess is pieced
// together from single characters.

#include "readings/mecab_tagger.h"
#include "readings/names_table.h"

#include <QString>
#include <QStringList>

#include <map>

class ReadingRanker {
public:
    ReadingRanker(const NamesTable& names, const MecabTagger& tagger);

    // Readings in full-width katakana, best first, for a name in its compatibility form; a
    // blank in the name is a blank in the reading.
    QStringList rank(const QString& name) const;

private:
    using Scores = std::map<QString, int>;

    // A part of its own (set off by blanks, or the whole name) or one half of a name split
    // where no blank is.
    enum class PartPlace { OwnPart, Split };
    Scores partReadings(const QString& part, NameRole role, PartPlace place) const;
    Scores wordReadings(const QString& text) const;
    Scores wholeReadings(const QString& part) const;

    const NamesTable& names_;
    const MecabTagger& tagger_;
};
