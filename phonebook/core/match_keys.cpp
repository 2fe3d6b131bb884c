#include "phonebook/core/match_keys.h"

#include "phonebook/core/completion_placeholders.h"

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Drops a caller-ID prefix from number when what follows it is a whole national number (a trunk
// 0 and at least nine more digits), so that short numbers such as 1840 stay as they are.
bool dropPrefix(QString& number, QLatin1String prefix)
{
    constexpr qsizetype NATIONAL_LENGTH = 10;
    if (number.size() < prefix.size() + NATIONAL_LENGTH || !number.startsWith(prefix) ||
        number.at(prefix.size()) != QLatin1Char('0'))
        return false;
    number.remove(0, prefix.size());
    return true;
}

void makeNational(QString& number)
{
    for (const QLatin1String country : {QLatin1String("+81"), QLatin1String("01081")}) {
        if (number.startsWith(country) && number.size() > country.size()) {
            number.remove(0, country.size());
            if (!number.startsWith(QLatin1Char('0')))
                number.prepend(QLatin1Char('0'));
            return;
        }
    }
}

bool isBlank(QChar c)
{
    return c.isSpace() || c == QChar(0x3000);
}

// The dialled characters of number before its first pause, and the pause with what follows it
// (upper case, separators dropped) in afterPause.
QString dialledBeforePause(const QString& number, QString* afterPause)
{
    const QString text = number.normalized(QString::NormalizationForm_KC);
    QString dialled;
    bool paused = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('P') || c == QLatin1Char('p')) {
            if (!afterPause)
                break;
            paused = true;
            afterPause->append(QLatin1Char('P'));
        } else if (isAsciiDigit(c) || c == QLatin1Char('*') || c == QLatin1Char('#') ||
                   (c == QLatin1Char('+') && dialled.isEmpty() && !paused)) {
            (paused ? *afterPause : dialled) += c;
        }
    }
    return dialled;
}

bool holdsDigit(const QString& number)
{
    for (const QChar c : number)
        if (isAsciiDigit(c))
            return true;
    return false;
}

// The national number before the pause, and the pause with what follows it when afterPause is
// given.
QString numberKey(const QString& number, QString* afterPause)
{
    if (number == QLatin1String(COMPLETION_NUMBER))
        return {};
    QString key = dialledBeforePause(number, afterPause);
    if (!dropPrefix(key, QLatin1String("184")))
        dropPrefix(key, QLatin1String("186"));
    makeNational(key);
    return holdsDigit(key) ? key : QString();
}

} // namespace

QString numberMatchKey(const QString& number)
{
    return numberKey(number, nullptr);
}

QString numberDialForm(const QString& number)
{
    QString afterPause;
    const QString key = numberKey(number, &afterPause);
    return key.isEmpty() ? key : key + afterPause;
}

bool isServiceNumber(const QString& numberKey)
{
    return numberKey.startsWith(QLatin1String("0120")) ||
           numberKey.startsWith(QLatin1String("0570")) ||
           numberKey.startsWith(QLatin1String("0800"));
}

bool isLandline(const QString& numberKey)
{
    if (numberKey.size() < 3 || numberKey.at(0) != QLatin1Char('0') || isServiceNumber(numberKey))
        return false;
    const QChar area = numberKey.at(1);
    if (!isAsciiDigit(area) || area == QLatin1Char('0'))
        return false;
    const bool mobileOrIp = area >= QLatin1Char('5') && numberKey.at(2) == QLatin1Char('0');
    return !mobileOrIp;
}

QString readingMatchText(const QString& reading)
{
    const QString text = reading.normalized(QString::NormalizationForm_KC);
    QString key;
    key.reserve(text.size());
    for (QChar c : text) {
        if (isBlank(c))
            continue;
        if (c.unicode() >= 0x30A1 && c.unicode() <= 0x30F6)
            c = QChar(c.unicode() - 0x60);
        key += c;
    }
    return key.toCaseFolded();
}

QString nameMatchKey(const QString& name)
{
    const QString text = name.normalized(QString::NormalizationForm_KC);
    QString key;
    key.reserve(text.size());
    for (const QChar c : text)
        if (!isBlank(c))
            key += c;
    return key.toCaseFolded();
}

QString nameVariantKey(const QString& nameKey)
{
    struct Variant {
        char16_t variant;
        char16_t common;
    };
    static constexpr Variant VARIANTS[] = {
        {u'髙', u'高'}, {u'﨑', u'崎'}, {u'嵜', u'崎'}, {u'邊', u'辺'}, {u'邉', u'辺'},
        {u'濱', u'浜'}, {u'濵', u'浜'}, {u'澤', u'沢'}, {u'齋', u'斎'}, {u'齊', u'斉'},
        {u'櫻', u'桜'}, {u'國', u'国'}, {u'廣', u'広'}, {u'德', u'徳'}, {u'惠', u'恵'},
    };
    QString key = nameKey;
    for (QChar& c : key)
        for (const Variant& v : VARIANTS)
            if (c.unicode() == v.variant)
                c = QChar(v.common);
    return key;
}

QString addressMatchKey(const QString& address)
{
    const QString text = address.trimmed();
    const qsizetype at = text.lastIndexOf(QLatin1Char('@'));
    if (at < 0)
        return text;
    return text.left(at + 1) + text.mid(at + 1).toLower();
}
