#include "exchange/core/smartphone_export.h"

#include "exchange/core/save_sink.h"
#include "exchange/core/smartphone_csv_writer.h"
#include "exchange/core/smartphone_vcard_writer.h"

#include <QFileInfo>

std::optional<SmartphoneFormat> smartphoneFormatOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("vcf") || suffix == QLatin1String("vcard"))
        return SmartphoneFormat::VCard;
    if (suffix == QLatin1String("csv"))
        return SmartphoneFormat::Csv;
    return std::nullopt;
}

bool exportForSmartphone(const QString& path, SmartphoneFormat format, const TelBook& book,
                         int* errorNumber)
{
    const QByteArray bytes =
        format == SmartphoneFormat::VCard ? smartphoneVCard(book) : smartphoneCsv(book);
    SaveFileSink sink(path);
    if (sink.open() && sink.write(bytes) && sink.commit())
        return true;
    if (errorNumber)
        *errorNumber = sink.lastError();
    sink.discard();
    return false;
}
