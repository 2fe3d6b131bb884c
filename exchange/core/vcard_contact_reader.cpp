#include "exchange/core/vcard_contact_reader.h"

#include "exchange/core/contact_labels.h"
#include "exchange/core/text_conversions.h"
#include "exchange/core/vcard_content_lines.h"

#include <QHash>
#include <QRegularExpression>

#include <vector>

namespace {

// Properties that hold no data of the contact (structure, software, identifiers).
bool carriesNoUserData(const QByteArray& name)
{
    static const QList<QByteArray> names = {
        "VERSION", "PRODID",      "REV",          "UID",    "X-ABLABEL", "X-ABUID", "X-ABSHOWAS",
        "KIND",    "X-IRMC-LUID", "CLIENTPIDMAP", "SOURCE", "PROFILE",   "NAME",    "MAILER"};
    return names.contains(name);
}

// Backslash escapes of a text value. vCard 2.1 knows only "\;" (and writers double a
// backslash before it); 3.0 and 4.0 add "\,", "\n" and "\\".
QString unescapeText(const QString& text, bool version21)
{
    if (!text.contains(QLatin1Char('\\')))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            const QChar next = text[i + 1];
            if (version21) {
                if (next == QLatin1Char(';')) {
                    out += next;
                    ++i;
                    continue;
                }
                out += c;
                continue;
            }
            if (next == QLatin1Char('n') || next == QLatin1Char('N')) {
                out += QLatin1Char('\n');
                ++i;
                continue;
            }
            if (next == QLatin1Char(',') || next == QLatin1Char(';') || next == QLatin1Char('\\') ||
                next == QLatin1Char(':')) {
                out += next;
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

// The components of a structured value (N, SOUND) split at the semicolons no backslash escapes.
QStringList splitComponents(const QString& text, bool version21)
{
    QStringList parts;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            current += c;
            current += text[++i];
        } else if (c == QLatin1Char(';')) {
            parts.append(unescapeText(current, version21));
            current.clear();
        } else {
            current += c;
        }
    }
    parts.append(unescapeText(current, version21));
    return parts;
}

QString component(const QStringList& parts, int index)
{
    return index < parts.size() ? parts[index].trimmed() : QString();
}

QString joinNonEmpty(const QStringList& parts)
{
    QStringList filled;
    for (const QString& part : parts)
        if (!part.trimmed().isEmpty())
            filled.append(part.trimmed());
    return filled.join(QLatin1Char(' '));
}

class CardBuilder {
public:
    explicit CardBuilder(QByteArray defaultCharset) : defaultCharset_(std::move(defaultCharset)) {}

    // False when a CHARSET names no known decoder (unknownCharset then holds it).
    bool add(const VCardContentLine& line);
    ContactCard finish();

    QByteArray unknownCharset;

private:
    std::optional<QString> text(const VCardContentLine& line);
    void addName(const VCardContentLine& line, const QString& value);
    void addNumber(const VCardContentLine& line, const QString& value);
    void dropped(const QByteArray& name);
    QString unescape(const QString& text) const { return unescapeText(text, version21_); }

    QByteArray defaultCharset_;
    bool version21_ = false;
    ContactCard card_;
    QHash<QByteArray, QString> labels_;    // X-ABLabel by group
    std::vector<QByteArray> numberGroups_; // the group of each number, for its label
    QString sortString_, sound_;
    QStringList sortAs_;
    QStringList phoneticName_; // the family and given parts of an N;PHONETIC=…
    int nameRank_ = 0;         // of the N that gave the name parts: see nameRank
};

// How well an N without PHONETIC names the contact: among the alternatives of one name (ALTID,
// RFC 9554) the Japanese one is the name the handset shows.
int nameRank(const VCardContentLine& line)
{
    const QByteArray language = line.param("LANGUAGE").value_or(QByteArray()).toLower();
    const bool japanese = language == "ja" || language.startsWith("ja-");
    return japanese ? 2 : 1;
}

void CardBuilder::addName(const VCardContentLine& line, const QString& value)
{
    const QStringList parts = splitComponents(value, version21_);
    // The reading of a name written out as a name of its own (PHONETIC=ipa, script, x-…).
    if (line.param("PHONETIC")) {
        if (phoneticName_.isEmpty())
            phoneticName_ = {component(parts, 0), component(parts, 1)};
        return;
    }
    const int rank = nameRank(line);
    if (rank < nameRank_)
        return;
    nameRank_ = rank;
    card_.familyName = component(parts, 0);
    card_.givenName = component(parts, 1);
    card_.middleName = component(parts, 2);
    card_.prefix = component(parts, 3);
    card_.suffix = component(parts, 4);
    // vCard 4.0 keeps the reading of each name part in SORT-AS, comma separated.
    if (const auto sortAs = line.param("SORT-AS"))
        sortAs_ = decodeContactValue(*sortAs, "UTF-8", false)
                      .text.split(QRegularExpression(QStringLiteral("[,;]")));
}

std::optional<QString> CardBuilder::text(const VCardContentLine& line)
{
    QByteArray bytes = line.value;
    if (line.isQuotedPrintable()) {
        QByteArray decoded(bytes.size() + 1, '\0');
        decodeQuotedPrintable(bytes.constData(), decoded.data(), decoded.size());
        bytes = QByteArray(decoded.constData());
    }
    QByteArray charset = defaultCharset_;
    const auto named = line.param("CHARSET");
    if (named) {
        const auto known = knownCharset(*named);
        if (!known) {
            unknownCharset = *named;
            return std::nullopt;
        }
        charset = *known;
    }
    DecodedValue decoded = decodeContactValue(bytes, charset, named.has_value());
    if (!decoded.guessed.isEmpty())
        card_.charsetGuesses.push_back(
            {QString::fromLatin1(line.name), decoded.guessed, named.has_value()});
    return std::move(decoded.text);
}

void CardBuilder::dropped(const QByteArray& name)
{
    const QString property = QString::fromLatin1(name);
    if (!card_.droppedProperties.contains(property))
        card_.droppedProperties.append(property);
}

void CardBuilder::addNumber(const VCardContentLine& line, const QString& value)
{
    QStringList words;
    for (const QByteArray& type : line.types())
        words.append(QString::fromUtf8(type));
    ContactNumber number;
    number.value = value.trimmed();
    number.kind = telKindFromWords(words);
    number.preferred = line.isPreferred();
    card_.numbers.push_back(number);
    numberGroups_.push_back(line.group);
}

bool CardBuilder::add(const VCardContentLine& line)
{
    const QByteArray& name = line.name;
    if (name == "PHOTO" || name == "LOGO" || (line.isBase64() && !line.value.isEmpty())) {
        dropped(name);
        return true;
    }
    const auto decoded = text(line);
    if (!decoded)
        return false;
    const QString value = *decoded;
    if (name == "VERSION")
        version21_ = value.trimmed() == QLatin1String("2.1");
    if (value.trimmed().isEmpty() || carriesNoUserData(name)) {
        if (name == "X-ABLABEL" && !line.group.isEmpty())
            labels_.insert(line.group, unescape(value).trimmed());
        return true;
    }
    if (name == "N") {
        addName(line, value);
    } else if (name == "ORG") {
        const QStringList units = splitComponents(value, version21_);
        card_.organization = component(units, 0);
        card_.departments = joinNonEmpty(units.mid(1));
        dropped(name);
    } else if (name == "FN") {
        card_.formattedName = unescape(value).trimmed();
    } else if (name == "X-PHONETIC-LAST-NAME") {
        card_.phoneticFamily = unescape(value).trimmed();
    } else if (name == "X-PHONETIC-FIRST-NAME") {
        card_.phoneticGiven = unescape(value).trimmed();
    } else if (name == "SORT-STRING") {
        sortString_ = unescape(value).trimmed();
    } else if (name == "SOUND" && !line.param("VALUE")) {
        sound_ = splitComponents(value, version21_).join(QString()).trimmed();
    } else if (name == "TEL") {
        addNumber(line, unescape(value));
    } else if (name == "EMAIL") {
        QStringList words;
        for (const QByteArray& type : line.types())
            words.append(QString::fromUtf8(type));
        card_.mails.push_back(
            {unescape(value).trimmed(), mailKindFromWords(words), line.isPreferred()});
    } else if (name == "NOTE") {
        if (!card_.note.isEmpty())
            card_.note += QLatin1Char('\n');
        card_.note += unescape(value).trimmed();
    } else if (name == "CATEGORIES") {
        QStringList categories;
        for (const QString& category : value.split(QLatin1Char(',')))
            categories.append(unescape(category).trimmed());
        const auto group = groupFromLabels(categories);
        if (group && !card_.group)
            card_.group = group;
        if (!group || categories.size() > 1)
            dropped(name);
    } else if (name == "CLASS" || name == "X-CLASS") {
        const QString upper = value.trimmed().toUpper();
        card_.secret = upper.contains(QLatin1String("PRIVATE")) ||
                       upper.contains(QLatin1String("CONFIDENTIAL"));
    } else if (name == "X-GNO") {
        bool ok = false;
        const int group = value.trimmed().toInt(&ok);
        if (ok && group >= 0 && group <= 255)
            card_.group = group;
    } else {
        dropped(name);
    }
    return true;
}

ContactCard CardBuilder::finish()
{
    // A grouped number with an X-ABLabel ("item2.TEL" + "item2.X-ABLabel:homeFax") takes its
    // kind from the label when the TYPE words did not already say more than a plain number.
    for (std::size_t i = 0; i < card_.numbers.size(); ++i) {
        const auto label = labels_.constFind(numberGroups_[i]);
        if (!numberGroups_[i].isEmpty() && label != labels_.constEnd() &&
            card_.numbers[i].kind == TEL_PHONE)
            card_.numbers[i].kind = telKindFromWords({*label});
    }
    if (card_.phoneticFamily.isEmpty() && card_.phoneticGiven.isEmpty()) {
        if (!phoneticName_.join(QString()).isEmpty()) {
            card_.phoneticFamily = phoneticName_.value(0);
            card_.phoneticGiven = phoneticName_.value(1);
        } else if (!sound_.isEmpty()) {
            card_.phoneticFamily = sound_;
        } else if (!sortAs_.isEmpty()) {
            card_.phoneticFamily = sortAs_.value(0).trimmed();
            card_.phoneticGiven = sortAs_.value(1).trimmed();
        } else {
            card_.phoneticFamily = sortString_;
        }
    }
    return card_;
}

bool isBegin(const VCardContentLine& line)
{
    return line.name == "BEGIN" && line.value.trimmed().toUpper() == "VCARD";
}

bool isEnd(const VCardContentLine& line)
{
    return line.name == "END" && line.value.trimmed().toUpper() == "VCARD";
}

} // namespace

ContactReadResult readVCardContacts(const ContactBytes& file, std::size_t keep)
{
    ContactReadResult result;
    std::optional<CardBuilder> card;
    bool counting = false; // inside a card after the kept ones: only its end is looked for
    int depth = 0;         // cards inside a card (AGENT) are skipped whole
    int cardLine = 0;
    forEachVCardLine(file.bytes, [&](const VCardContentLine& line) {
        if (!card && !counting) {
            if (isBegin(line)) {
                cardLine = line.lineNumber;
                if (result.cards.size() < keep)
                    card.emplace(file.charset);
                else
                    counting = true;
            }
            return true;
        }
        if (isBegin(line)) {
            ++depth;
        } else if (isEnd(line)) {
            if (depth-- == 0) {
                if (card)
                    result.cards.push_back(card->finish());
                else
                    ++result.leftOut;
                card.reset();
                counting = false;
                depth = 0;
            }
        } else if (card && depth == 0 && !card->add(line)) {
            result.error = ContactReadError::UnknownCharset;
            result.line = line.lineNumber;
            result.detail = QString::fromLatin1(card->unknownCharset);
            return false;
        }
        return true;
    });
    if (result.ok() && (card || counting)) {
        result.error = ContactReadError::Truncated;
        result.line = cardLine;
    }
    if (!result.ok()) {
        result.cards.clear();
        result.leftOut = 0;
    }
    return result;
}
