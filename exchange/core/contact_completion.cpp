#include "exchange/core/contact_completion.h"

#include "exchange/core/text_conversions.h"
#include "exchange/core/vcard_reader.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/field_rules.h"

#include <cstring>

namespace {

QString quoted(const char* field)
{
    return QStringLiteral("「") + fromCp932(field) + QStringLiteral("」");
}

} // namespace

bool fillMissingReading(TelEntry& entry, const ReadingProposer& proposer, EntryReport& report)
{
    if (entry.furigana[0] || !proposer || !entry.name[0])
        return false;
    const QByteArray proposal = proposer(fromCp932(entry.name));
    if (proposal.isEmpty() || proposal.contains('\0') || !checkFurigana(proposal.constData()))
        return false;
    cutToField(entry.furigana, FURIGANA_FIELD_SIZE - 1, proposal.constData());
    report.add(ChangeKind::Proposed, QStringLiteral("フリガナ"),
               QStringLiteral("フリガナがないため名前から") + quoted(entry.furigana) +
                   QStringLiteral("を提案しました"));
    return true;
}

void completeReported(TelEntry& entry, const QDateTime& time, EntryReport& report)
{
    const TelEntry before = entry;
    completeImportedEntry(entry, time);
    if (!before.furigana[0])
        report.add(ChangeKind::Filled, QStringLiteral("フリガナ"),
                   QStringLiteral("フリガナがないため") + quoted(entry.furigana) +
                       QStringLiteral("を補いました"));
    if (!before.name[0])
        report.add(ChangeKind::Filled, QStringLiteral("名前"),
                   QStringLiteral("名前がないため") + quoted(entry.name) +
                       QStringLiteral("を補いました"));
    if (std::strcmp(before.tel[0].number, entry.tel[0].number) != 0)
        report.add(
            ChangeKind::Filled, QStringLiteral("電話番号"),
            QStringLiteral("電話番号もメールアドレスもないため電話番号に「****」を補いました"));
    report.name = fromCp932(entry.name);
}
