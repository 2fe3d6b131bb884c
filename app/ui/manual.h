#pragma once
#include <QString>

// The user manual's file name; it is looked for in the start-up directory.
inline const QString MANUAL_FILE_NAME = QStringLiteral("vemblor_manual.pdf");

// Opens the manual with the system's viewer, or says "pdfファイルが見つかりません" when the
// start-up directory has no manual.
void openManual();
