#pragma once
// Latin letters with accents and the ligatures of European names, which code page 932 does not
// hold, in the base letters a Japanese handset can show and sort by (Müller → Muller,
// ß → ss, Ø → O, Æ → AE).

#include <QString>

// The base letters of c when c is a Latin letter with an accent or a ligature, else c itself.
QString latinBaseLetters(QChar c);

// text with every such letter replaced by its base letters.
QString foldLatinLetters(const QString& text);
