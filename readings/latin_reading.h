#pragma once
// The reading of a name written in Latin letters: its letters in upper case, which the
// reading field holds as half-width ASCII and a handset sorts after the kana (Smith John →
// SMITH JOHN, Müller → MULLER).

#include <QString>

#include <optional>

// Nothing when name holds anything but ASCII (after accents are folded) or no letter at all.
std::optional<QString> latinReading(const QString& name);
