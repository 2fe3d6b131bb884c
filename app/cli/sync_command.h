#pragma once
// vemblor-cli sync: the handset's book and a PC book made one, changes and deletions of each side
// carried to the other.

#include <QStringList>

// sync --port PORT BOOK.vcf [--dry-run] [--report R.json] [--conflicts ask|pc|handset|keep-both]
//      [--yes] [--fast]
int runSync(const QStringList& arguments);
