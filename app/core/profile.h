#pragma once
// Reading and writing single keys of an ini file in the private-profile style: "[SECTION]"
// headers and "KEY=value" lines, section and key names matched without regard to case. Writing
// keeps every other line of the file as it was.

#include <QString>

#include <optional>

// The value of key in section, or nothing when the file, the section or the key is missing.
std::optional<QString> findProfileString(const QString& filePath, const QString& section,
                                         const QString& key);
QString readProfileString(const QString& filePath, const QString& section, const QString& key,
                          const QString& fallback = QString());
bool writeProfileString(const QString& filePath, const QString& section, const QString& key,
                        const QString& value);
