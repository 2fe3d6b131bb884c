#pragma once
// vemblor-cli convert and check: a file read into the book, written out again or checked.

#include <QStringList>

// convert IN OUT [input options]: IN by its suffix, OUT as .vcf or .json.
int runConvert(const QStringList& arguments);
// check BOOK.vcf: the record check over the entries of a file.
int runCheck(const QStringList& arguments);
