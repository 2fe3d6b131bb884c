#pragma once
// vemblor-cli import and export: the command-line twins of 連絡先の取り込み and スマートフォン用に
// 書き出し.

#include <QStringList>

struct ImportReport;
struct TelBook;

// import IN OUT.vcf|OUT.json [--report REPORT.json]
int runImport(const QStringList& arguments);
// export IN OUT.vcf|OUT.csv [convert's options for a .csv IN]
int runExport(const QStringList& arguments);

// Reads IN with 連絡先の取り込み's reader into book, readings made from the names where the file
// has none, and prints the import's report; CLI_OK, or CLI_FAILED after the message (book is
// then left as it was).
int importContactsInput(const QString& in, TelBook& book, ImportReport* report);
