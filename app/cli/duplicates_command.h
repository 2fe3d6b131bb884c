#pragma once
// vemblor-cli duplicates: the entries of a book that are or may be the same person.

#include <QStringList>

// duplicates BOOK.vcf [--json]
int runDuplicates(const QStringList& arguments);
