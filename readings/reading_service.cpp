#include "readings/reading_service.h"

#include "phonebook/core/cp932_text.h"
#include "phonebook/core/tel_entry.h"
#include "readings/kana_text.h"
#include "readings/latin_reading.h"
#include "readings/legal_form.h"
#include "readings/mecab_tagger.h"
#include "readings/names_table.h"
#include "readings/reading_ranker.h"

#include <QFile>

#include <mutex>

namespace {

// At most this many candidates: a list to choose from, not every reading a name could have.
constexpr qsizetype MAX_CANDIDATES = 10;

struct ReadingService {
    NamesTable names;
    MecabTagger tagger;
    ReadingRanker ranker{names, tagger};
    QString error;
    std::mutex mutex; // MeCab's tagger and the ranker are used one call at a time

    ReadingService()
    {
        QFile table(QStringLiteral(":/readings/names.table"));
        if (!table.open(QIODevice::ReadOnly) || !names.load(table.readAll()))
            error = QStringLiteral("the names table is missing or damaged");
        else if (!tagger.open(VEMBLOR_MECAB_DICTIONARY))
            error = tagger.error();
    }
};

ReadingService& service()
{
    static ReadingService instance; // initialised once, thread-safe
    return instance;
}

} // namespace

QStringList readingCandidates(const QString& name)
{
    ReadingService& s = service();
    if (!s.error.isEmpty())
        return {};
    const QString reading = withoutLegalForm(normalizedName(name));
    // Latin letters read as themselves, cut to the field like any reading.
    if (const std::optional<QString> latin = latinReading(reading))
        return {latin->left(qsizetype(FURIGANA_FIELD_SIZE) - 1).trimmed()};
    QStringList ranked;
    {
        std::lock_guard lock(s.mutex);
        ranked = s.ranker.rank(reading);
    }
    QStringList candidates;
    for (const QString& reading : ranked) {
        const std::optional<QString> half = toHalfWidthKatakana(reading);
        // Half-width katakana take one byte each in the field.
        if (half && half->size() < qsizetype(FURIGANA_FIELD_SIZE) && !candidates.contains(*half))
            candidates.append(*half);
        if (candidates.size() == MAX_CANDIDATES)
            break;
    }
    return candidates;
}

QByteArray bestReadingCp932(const QString& name)
{
    const QStringList candidates = readingCandidates(name);
    return candidates.isEmpty() ? QByteArray() : toCp932(candidates.front()).value_or(QByteArray());
}

QString readingServiceError()
{
    return service().error;
}
