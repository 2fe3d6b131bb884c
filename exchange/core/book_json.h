#pragma once
// The phone book as JSON for scripts: texts decoded from code page 932, kinds, group and the
// secret flag as numbers, every slot listed.

#include "phonebook/core/tel_book.h"

#include <QByteArray>

QByteArray bookToJson(const TelBook& book);
