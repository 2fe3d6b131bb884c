#pragma once
// スマートフォン用に書き出し: the book written for smartphones and address-book services, as
// vCard 3.0 or CSV chosen by the file's suffix. The file is replaced only when the new one has
// been written whole.

#include "phonebook/core/tel_book.h"

#include <QString>

#include <optional>

enum class SmartphoneFormat { VCard, Csv };

// .vcf and .vcard are vCard, .csv is CSV (any case); nothing for another suffix.
std::optional<SmartphoneFormat> smartphoneFormatOf(const QString& path);

inline constexpr const char* EXPORT_FAILED_MESSAGE =
    "書き出し処理で異常がある為、処理を終了します。";

// False (the file untouched) when it cannot be written; errorNumber then receives the system's
// error number of the failed write (0 when the file could not even be started).
bool exportForSmartphone(const QString& path, SmartphoneFormat format, const TelBook& book,
                         int* errorNumber = nullptr);
