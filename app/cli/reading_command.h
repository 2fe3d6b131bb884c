#pragma once
// vemblor-cli reading: the readings the program proposes for names.

#include <QStringList>

// reading NAME... [--json]: one line of candidates per name (best first, separated by blanks,
// an empty line when there is none), or with --json one JSON list of lists.
int runReading(const QStringList& arguments);
