#pragma once
// vemblor-cli merge: incoming contact files taken into a book without replacing it.

#include <QStringList>

// merge BOOK INCOMING... OUT.vcf|OUT.json [--report R.json] [--mode safe|add-only|replace]
int runMerge(const QStringList& arguments);
