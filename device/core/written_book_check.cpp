#include "device/core/written_book_check.h"

#include "device/core/device_record.h"
#include "phonebook/core/cp932_text.h"

#include <QStringList>

#include <algorithm>
#include <cstring>

namespace {

bool sameText(const char* a, const char* b)
{
    return std::strcmp(a, b) == 0;
}

QString numbered(const char* label, int slot)
{
    return QString::fromUtf8(label) + QString::number(slot + 1);
}

void compareEntry(const TelEntry& expected, const TelEntry& actual, int number,
                  std::vector<EntryDifference>& differences)
{
    const QString name = fromCp932(expected.name);
    const auto differ = [&](const QString& field) { differences.push_back({number, name, field}); };
    if (!sameText(expected.name, actual.name))
        differ(QStringLiteral("名前"));
    if (!sameText(expected.furigana, actual.furigana))
        differ(QStringLiteral("フリガナ"));
    if (expected.group != actual.group)
        differ(QStringLiteral("グループ"));
    if (expected.secret != actual.secret)
        differ(QStringLiteral("シークレット"));
    for (int slot = 0; slot < TEL_SLOTS; ++slot) {
        const TelNumber& e = expected.tel[slot];
        const TelNumber& a = actual.tel[slot];
        if (!sameText(e.number, a.number))
            differ(numbered("電話番号", slot));
        else if (e.number[0] != '\0' && e.kind != a.kind)
            differ(numbered("電話番号の種別", slot));
    }
    for (int slot = 0; slot < MAIL_SLOTS; ++slot) {
        const MailAddress& e = expected.mail[slot];
        const MailAddress& a = actual.mail[slot];
        if (!sameText(e.address, a.address))
            differ(numbered("メールアドレス", slot));
        else if (e.address[0] != '\0' && e.kind != a.kind)
            differ(numbered("メールアドレスの種別", slot));
    }
    if (!sameText(expected.memo, actual.memo))
        differ(QStringLiteral("メモ"));
}

} // namespace

TelEntry storedForm(const TelEntry& entry, int index, const char* model)
{
    TelEntry stored{};
    SentParts sent;
    RecordSlots filled;
    while (!sent.all())
        decodeEntryRecord(encodeEntryRecord(entry, index, model, sent), stored, filled);
    return stored;
}

std::vector<EntryDifference> compareWrittenBook(const TelBook& written, const TelBook& readBack,
                                                const char* model)
{
    std::vector<EntryDifference> differences;
    const std::uint32_t count = std::min({written.count, readBack.count, MAX_TEL_ENTRIES});
    for (std::uint32_t i = 0; i < count; ++i) {
        const int index = static_cast<int>(i);
        compareEntry(storedForm(written.entries[i], index, model), readBack.entries[i], index + 1,
                     differences);
    }
    return differences;
}

QString describeDifferences(const std::vector<EntryDifference>& differences, int writtenCount,
                            int readBackCount, int shownLimit)
{
    QStringList lines{QStringLiteral("書き込んだ電話帳を読み戻して確認したところ、"
                                     "携帯電話の電話帳が書き込んだ内容と違っています。")};
    if (writtenCount != readBackCount)
        lines << QStringLiteral("書き込んだ件数は %1件、読み戻した件数は %2件です。")
                     .arg(writtenCount)
                     .arg(readBackCount);
    const int shown = std::min(static_cast<int>(differences.size()), shownLimit);
    for (int i = 0; i < shown; ++i) {
        const EntryDifference& d = differences[static_cast<std::size_t>(i)];
        lines << QStringLiteral("%1件目「%2」: %3")
                     .arg(d.entryNumber, 4, 10, QLatin1Char('0'))
                     .arg(d.name, d.field);
    }
    if (static_cast<int>(differences.size()) > shown)
        lines << QStringLiteral("ほかに %1か所の違いがあります。")
                     .arg(static_cast<int>(differences.size()) - shown);
    return lines.join(QLatin1Char('\n'));
}
