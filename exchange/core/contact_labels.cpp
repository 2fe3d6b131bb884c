#include "exchange/core/contact_labels.h"

#include <iterator>

namespace {

bool anyContains(const QStringList& words, std::initializer_list<const char*> needles)
{
    for (const QString& word : words)
        for (const char* needle : needles)
            if (word.contains(QString::fromUtf8(needle), Qt::CaseInsensitive))
                return true;
    return false;
}

const QString GROUP_PREFIX = QStringLiteral("グループ");

struct TelKindWords {
    const char* vcardTypes;
    const char* csvLabel;
};

// By TelKind code; each pair reads back as its kind through telKindFromWords.
constexpr TelKindWords TEL_KIND_WORDS[] = {
    {"VOICE", "Home"}, {"CELL", "Mobile"}, {"PCS", "PHS"}, {"WORK,VOICE", "Work"}, {"FAX", "Fax"},
};

const TelKindWords& telKindWords(std::uint8_t kind)
{
    return kind < std::size(TEL_KIND_WORDS) ? TEL_KIND_WORDS[kind] : TEL_KIND_WORDS[TEL_PHONE];
}

} // namespace

TelKind telKindFromWords(const QStringList& words)
{
    if (anyContains(words, {"FAX", "ファクス", "ＦＡＸ"}))
        return TEL_FAX;
    if (anyContains(words, {"CELL", "MOBILE", "IPHONE", "携帯"}))
        return TEL_MOBILE;
    if (anyContains(words, {"PCS", "PHS", "ＰＨＳ"}))
        return TEL_PHS;
    if (anyContains(words, {"WORK", "BUSINESS", "会社", "勤務先"}))
        return TEL_OFFICE;
    return TEL_PHONE;
}

MailKind mailKindFromWords(const QStringList& words)
{
    return anyContains(words, {"WORK", "BUSINESS", "会社"}) ? MAIL_OFFICE_PC : MAIL_UNSPECIFIED;
}

const char* telVCardTypes(std::uint8_t kind)
{
    return telKindWords(kind).vcardTypes;
}

const char* telCsvLabel(std::uint8_t kind)
{
    return telKindWords(kind).csvLabel;
}

QString groupLabel(int group)
{
    return GROUP_PREFIX + QString::number(group);
}

std::optional<int> groupFromLabels(const QStringList& labels)
{
    for (const QString& label : labels) {
        const QString text = label.trimmed();
        if (!text.startsWith(GROUP_PREFIX))
            continue;
        bool ok = false;
        const int group = text.mid(GROUP_PREFIX.size()).toInt(&ok);
        if (ok && group >= 0 && group <= 255)
            return group;
    }
    return std::nullopt;
}
