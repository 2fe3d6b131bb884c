#pragma once
#include <QString>

// The user manual's file name; it is looked for in the start-up directory.
inline const QString MANUAL_FILE_NAME = QStringLiteral("vemblor_manual.pdf");

// Said when the manual is there but the desktop has no program that opens PDF files.
inline constexpr const char NO_PDF_VIEWER_MESSAGE[] = "pdfファイルを開くプログラムが見つかりません";

// Opens the manual with the system's viewer, or says "pdfファイルが見つかりません" when the
// start-up directory has no manual, or NO_PDF_VIEWER_MESSAGE when nothing can open it.
void openManual();
