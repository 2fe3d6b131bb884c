#pragma once
// vemblor-cli convert and check: a file read into the book, written out again or checked.

#include <QStringList>

// convert IN OUT [--readings] [input options]: IN by its suffix, OUT as .vcf or .json; with
// --readings, entries without a reading of their own get one made from their name.
int runConvert(const QStringList& arguments);
// check BOOK.vcf: the record check over the entries of a file.
int runCheck(const QStringList& arguments);
