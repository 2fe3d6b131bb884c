#pragma once
// Reading and writing keys of an ini file in the private-profile style: "[SECTION]" headers and
// "KEY=value" lines, section and key names matched without regard to case. The file is the
// user's: it is read in its own encoding (UTF-8, with or without a mark, or else Shift-JIS), and
// a write changes only the lines of the keys it writes, in that encoding and with the file's own
// line ends; every other byte stays as it was.

#include <QList>
#include <QPair>
#include <QString>

#include <optional>

// A settings file holds a few lines; a larger file is neither read nor written.
constexpr qint64 MAX_PROFILE_FILE = 1 << 20;

enum class ProfileStatus {
    Missing,
    Readable,
    TooLarge, // more than MAX_PROFILE_FILE bytes
    NotAFile, // a folder, device or pipe
    NotText,  // holds NUL bytes: UTF-16, UTF-32 or no text at all
    Unreadable,
};

ProfileStatus profileStatus(const QString& filePath);

// The value of key in section, or nothing when the file, the section or the key is missing, or
// the file cannot be read.
std::optional<QString> findProfileString(const QString& filePath, const QString& section,
                                         const QString& key);
QString readProfileString(const QString& filePath, const QString& section, const QString& key,
                          const QString& fallback = QString());

using ProfileEntries = QList<QPair<QString, QString>>; // key, value

// Sets the keys of section at once: a key the section has gets its line replaced, a missing key a
// new line after the section's last one, and a missing section is added at the end. A missing file
// is created. False, with the file left as it was, when the file is read-only (by its mode bits,
// whoever runs the program), larger than MAX_PROFILE_FILE, no file, or cannot be read or written,
// or when a value cannot be written in the file's encoding.
bool writeProfileStrings(const QString& filePath, const QString& section,
                         const ProfileEntries& entries);
bool writeProfileString(const QString& filePath, const QString& section, const QString& key,
                        const QString& value);
