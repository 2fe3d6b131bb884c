#include "readings/reading_review.h"

#include "phonebook/core/cp932_text.h"
#include "readings/reading_service.h"

#include <QRegularExpression>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

// The import copies a number or address into the reading field, cut to the field.
bool copiedInto(const char* reading, const char* source)
{
    const std::size_t length = std::min(std::strlen(source), FURIGANA_FIELD_SIZE - 1);
    return length > 0 && std::strlen(reading) == length &&
           std::strncmp(reading, source, length) == 0;
}

QString withoutBlanks(QString reading)
{
    return reading.remove(QLatin1Char(' '));
}

} // namespace

bool readingIsPlaceholder(const TelEntry& entry)
{
    if (!entry.furigana[0])
        return true;
    auto hasNumber = [](const TelNumber& slot) { return slot.number[0] != '\0'; };
    auto hasAddress = [](const MailAddress& slot) { return slot.address[0] != '\0'; };
    const TelNumber* number = std::find_if(std::begin(entry.tel), std::end(entry.tel), hasNumber);
    const MailAddress* address =
        std::find_if(std::begin(entry.mail), std::end(entry.mail), hasAddress);
    if (number != std::end(entry.tel))
        return copiedInto(entry.furigana, number->number);
    if (address != std::end(entry.mail))
        return copiedInto(entry.furigana, address->address);
    static const QRegularExpression time(QStringLiteral("^\\d{4}/\\d{2}/\\d{2}/ \\d{2}:\\d{2}$"));
    return time.match(QString::fromLatin1(entry.furigana)).hasMatch();
}

std::vector<ReadingChange> proposeReadingChanges(const TelBook& book)
{
    std::vector<ReadingChange> changes;
    for (std::uint32_t i = 0; i < book.count && i < MAX_TEL_ENTRIES; ++i) {
        const TelEntry& entry = book.entries[i];
        const QStringList candidates = readingCandidates(fromCp932(entry.name));
        const QString reading = fromCp932(entry.furigana);
        if (candidates.isEmpty() ||
            std::any_of(candidates.begin(), candidates.end(), [&](const QString& candidate) {
                return withoutBlanks(candidate) == withoutBlanks(reading);
            }))
            continue;
        changes.push_back({static_cast<int>(i), fromCp932(entry.name), reading, candidates.front(),
                           readingIsPlaceholder(entry)});
    }
    return changes;
}

int applyReadingChanges(TelBook& book, const std::vector<ReadingChange>& changes)
{
    int changed = 0;
    for (const ReadingChange& change : changes) {
        if (!change.chosen || change.index < 0 || std::uint32_t(change.index) >= book.count)
            continue;
        // The whole field anew, so that nothing of a longer old reading stays behind its end.
        char field[FURIGANA_FIELD_SIZE] = {};
        if (!storeCp932(change.proposed, field, sizeof field))
            continue;
        std::memcpy(book.entries[change.index].furigana, field, sizeof field);
        ++changed;
    }
    return changed;
}
