#pragma once
// vemblor-cli import and export: the command-line twins of 連絡先の取り込み and スマートフォン用に
// 書き出し.

#include <QStringList>

// import IN OUT.vcf|OUT.json [--report REPORT.json]
int runImport(const QStringList& arguments);
// export IN OUT.vcf|OUT.csv [convert's options for a .csv IN]
int runExport(const QStringList& arguments);
