#pragma once
// The phone book files that the handset commands of vemblor-cli take and give (vCard 2.1).
// Each prints its own failure message and returns false.

#include "phonebook/core/tel_book.h"

#include <QString>

bool loadBookFile(const QString& path, TelBook& book);
bool saveBookFile(const QString& path, const TelBook& book);
