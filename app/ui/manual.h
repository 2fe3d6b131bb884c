#pragma once
#include <QString>
#include <QStringList>

// The user manual's file name.
inline const QString MANUAL_FILE_NAME = QStringLiteral("vemblor_manual.pdf");

// Said when the manual is nowhere it is looked for; the places follow it, one a line.
inline constexpr const char NO_MANUAL_MESSAGE[] = "pdfファイルが見つかりません";

// Said when the manual is there but the desktop has no program that opens PDF files.
inline constexpr const char NO_PDF_VIEWER_MESSAGE[] = "pdfファイルを開くプログラムが見つかりません";

// Where the manual is looked for, in this order: the start-up directory (a copy the user keeps
// there), then where the package installs it relative to the program (../share/vemblor beside
// the bin directory that holds the program).
QStringList manualPlaces(const QString& settingsFolder, const QString& programDir);

// Opens the first manual of manualPlaces(settingsFolder, the program's directory) with the
// system's viewer; settingsFolder is the start-up directory, where Vemblor.ini is. Says
// NO_MANUAL_MESSAGE and the places it looked in when there is none, or NO_PDF_VIEWER_MESSAGE when
// nothing can open it.
void openManual(const QString& settingsFolder);
