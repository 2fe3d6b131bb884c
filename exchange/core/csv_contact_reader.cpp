#include "exchange/core/csv_contact_reader.h"

#include "exchange/core/contact_labels.h"
#include "exchange/core/csv_records.h"

#include <QRegularExpression>

#include <algorithm>
#include <initializer_list>
#include <vector>

namespace {

enum class Role {
    Unknown,
    Ignored, // known, holds nothing the book keeps or needs to report
    Family,
    Given,
    Middle,
    Formatted,
    PhoneticFamily,
    PhoneticGiven,
    PhoneticWhole,
    Note,
    Labels,
    Sensitivity,
    Phone,      // kind fixed by the column
    PhoneLabel, // "Phone 1 - Label" / "Type": for the value column of the same number
    PhoneValue,
    Mail, // kind fixed by the column
    MailLabel,
    MailValue,
};

struct Column {
    Role role = Role::Unknown;
    TelKind telKind = TEL_PHONE;
    MailKind mailKind = MAIL_UNSPECIFIED;
    int pair = 0; // the number of "Phone 1 - …" / "E-mail 1 - …"
    QString header;
};

struct NamedRole {
    const char* header; // as normalised: NFKC, lower case, no blanks
    Role role;
    int kind = 0;
};

const NamedRole NAMED_ROLES[] = {
    {"lastname", Role::Family},
    {"familyname", Role::Family},
    {"surname", Role::Family},
    {"姓", Role::Family},
    {"firstname", Role::Given},
    {"givenname", Role::Given},
    {"名", Role::Given},
    {"middlename", Role::Middle},
    {"additionalname", Role::Middle},
    {"ミドルネーム", Role::Middle},
    {"name", Role::Formatted},
    {"displayname", Role::Formatted},
    {"fullname", Role::Formatted},
    {"表示名", Role::Formatted},
    {"氏名", Role::Formatted},
    {"名前", Role::Formatted},
    {"phoneticlastname", Role::PhoneticFamily},
    {"familynameyomi", Role::PhoneticFamily},
    {"姓(フリガナ)", Role::PhoneticFamily},
    {"フリガナ(姓)", Role::PhoneticFamily},
    {"姓(よみがな)", Role::PhoneticFamily},
    {"姓(ふりがな)", Role::PhoneticFamily},
    {"姓(よみ)", Role::PhoneticFamily},
    {"ふりがな(姓)", Role::PhoneticFamily},
    {"よみがな(姓)", Role::PhoneticFamily},
    {"よみ(姓)", Role::PhoneticFamily},
    {"せい", Role::PhoneticFamily},
    {"セイ", Role::PhoneticFamily},
    {"phoneticfirstname", Role::PhoneticGiven},
    {"givennameyomi", Role::PhoneticGiven},
    {"名(フリガナ)", Role::PhoneticGiven},
    {"フリガナ(名)", Role::PhoneticGiven},
    {"名(よみがな)", Role::PhoneticGiven},
    {"名(ふりがな)", Role::PhoneticGiven},
    {"名(よみ)", Role::PhoneticGiven},
    {"ふりがな(名)", Role::PhoneticGiven},
    {"よみがな(名)", Role::PhoneticGiven},
    {"よみ(名)", Role::PhoneticGiven},
    {"めい", Role::PhoneticGiven},
    {"メイ", Role::PhoneticGiven},
    {"yominame", Role::PhoneticWhole},
    {"phoneticname", Role::PhoneticWhole},
    {"フリガナ", Role::PhoneticWhole},
    {"よみがな", Role::PhoneticWhole},
    {"ふりがな", Role::PhoneticWhole},
    {"よみ", Role::PhoneticWhole},
    {"yomi", Role::PhoneticWhole},
    {"ヨミ", Role::PhoneticWhole},
    {"読み", Role::PhoneticWhole},
    {"読み仮名", Role::PhoneticWhole},
    {"notes", Role::Note},
    {"note", Role::Note},
    {"メモ", Role::Note},
    {"備考", Role::Note},
    {"labels", Role::Labels},
    {"groupmembership", Role::Labels},
    {"categories", Role::Labels},
    {"分類", Role::Labels},
    {"sensitivity", Role::Sensitivity},
    {"秘密度", Role::Sensitivity},
    {"mobilephone", Role::Phone, TEL_MOBILE},
    {"mobilenumber", Role::Phone, TEL_MOBILE},
    {"cellphone", Role::Phone, TEL_MOBILE},
    {"携帯電話", Role::Phone, TEL_MOBILE},
    {"携帯", Role::Phone, TEL_MOBILE},
    {"携帯番号", Role::Phone, TEL_MOBILE},
    {"携帯電話番号", Role::Phone, TEL_MOBILE},
    {"mobile", Role::Phone, TEL_MOBILE},
    {"cell", Role::Phone, TEL_MOBILE},
    {"homephone", Role::Phone, TEL_PHONE},
    {"homephone2", Role::Phone, TEL_PHONE},
    {"自宅電話", Role::Phone, TEL_PHONE},
    {"自宅電話2", Role::Phone, TEL_PHONE},
    {"primaryphone", Role::Phone, TEL_PHONE},
    {"otherphone", Role::Phone, TEL_PHONE},
    {"その他の電話", Role::Phone, TEL_PHONE},
    {"companymainphone", Role::Phone, TEL_PHONE},
    {"代表電話", Role::Phone, TEL_PHONE},
    {"pager", Role::Phone, TEL_PHONE},
    {"pagernumber", Role::Phone, TEL_PHONE},
    {"ポケットベル", Role::Phone, TEL_PHONE},
    {"carphone", Role::Phone, TEL_PHONE},
    {"電話番号", Role::Phone, TEL_PHONE},
    {"電話", Role::Phone, TEL_PHONE},
    {"自宅", Role::Phone, TEL_PHONE},
    {"自宅電話番号", Role::Phone, TEL_PHONE},
    {"tel", Role::Phone, TEL_PHONE},
    {"phone", Role::Phone, TEL_PHONE},
    {"phonenumber", Role::Phone, TEL_PHONE},
    {"businessphone", Role::Phone, TEL_OFFICE},
    {"businessphone2", Role::Phone, TEL_OFFICE},
    {"workphone", Role::Phone, TEL_OFFICE},
    {"会社電話", Role::Phone, TEL_OFFICE},
    {"会社電話2", Role::Phone, TEL_OFFICE},
    {"会社電話番号", Role::Phone, TEL_OFFICE},
    {"勤務先電話", Role::Phone, TEL_OFFICE},
    {"businessfax", Role::Phone, TEL_FAX},
    {"homefax", Role::Phone, TEL_FAX},
    {"otherfax", Role::Phone, TEL_FAX},
    {"faxnumber", Role::Phone, TEL_FAX},
    {"会社fax", Role::Phone, TEL_FAX},
    {"自宅fax", Role::Phone, TEL_FAX},
    {"その他のfax", Role::Phone, TEL_FAX},
    {"e-mailaddress", Role::Mail},
    {"e-mail2address", Role::Mail},
    {"e-mail3address", Role::Mail},
    {"emailaddress", Role::Mail},
    {"電子メールアドレス", Role::Mail},
    {"電子メール2アドレス", Role::Mail},
    {"電子メール3アドレス", Role::Mail},
    {"メールアドレス", Role::Mail},
    {"メール", Role::Mail},
    {"eメール", Role::Mail},
    {"eメールアドレス", Role::Mail},
    {"携帯メール", Role::Mail},
    {"e-mail", Role::Mail},
    {"email", Role::Mail},
    {"mail", Role::Mail},
    {"mailaddress", Role::Mail},
    {"primaryemail", Role::Mail},
    {"secondaryemail", Role::Mail},
    {"e-mailtype", Role::Ignored},
    {"e-mail2type", Role::Ignored},
    {"e-mail3type", Role::Ignored},
    {"e-maildisplayname", Role::Ignored},
    {"e-mail2displayname", Role::Ignored},
    {"e-mail3displayname", Role::Ignored},
    {"電子メール表示名", Role::Ignored},
    {"電子メール2表示名", Role::Ignored},
    {"電子メール3表示名", Role::Ignored},
    {"電子メールの種類", Role::Ignored},
};

QString normalisedHeader(const QString& header)
{
    QString text = header.normalized(QString::NormalizationForm_KC).toLower();
    text.remove(QRegularExpression(QStringLiteral("\\s+")));
    return text;
}

const NamedRole* namedRole(const QString& key)
{
    for (const NamedRole& named : NAMED_ROLES)
        if (key == QString::fromUtf8(named.header))
            return &named;
    return nullptr;
}

Column columnOf(const QString& header)
{
    Column column;
    column.header = header.trimmed();
    const QString key = normalisedHeader(header);
    static const QRegularExpression pair(
        QStringLiteral("^(phone|e-mail|email)(\\d+)-(label|type|value)$"));
    if (const auto match = pair.match(key); match.hasMatch()) {
        const bool phone = match.captured(1) == QLatin1String("phone");
        const bool value = match.captured(3) == QLatin1String("value");
        column.pair = match.captured(2).toInt();
        column.role = phone ? (value ? Role::PhoneValue : Role::PhoneLabel)
                            : (value ? Role::MailValue : Role::MailLabel);
        return column;
    }
    if (const NamedRole* named = namedRole(key)) {
        column.role = named->role;
        if (named->role == Role::Phone)
            column.telKind = static_cast<TelKind>(named->kind);
        if (named->role == Role::Mail && key.contains(QLatin1String("business")))
            column.mailKind = MAIL_OFFICE_PC;
        return column;
    }
    // A numbered number or address column ("TEL2", "メール1", "電話番号３").
    static const QRegularExpression numbered(QStringLiteral("^(.+?)\\d+$"));
    if (const auto match = numbered.match(key); match.hasMatch())
        if (const NamedRole* named = namedRole(match.captured(1));
            named && (named->role == Role::Phone || named->role == Role::Mail)) {
            column.role = named->role;
            column.telKind = static_cast<TelKind>(named->role == Role::Phone ? named->kind : 0);
        }
    return column;
}

bool hasRole(const std::vector<Column>& columns, std::initializer_list<Role> roles)
{
    return std::any_of(columns.begin(), columns.end(), [roles](const Column& column) {
        return std::find(roles.begin(), roles.end(), column.role) != roles.end();
    });
}

// Blank in every cell, as spreadsheets leave rows of commas below the data.
bool isBlankRow(const QStringList& row)
{
    return std::all_of(row.begin(), row.end(),
                       [](const QString& cell) { return cell.trimmed().isEmpty(); });
}

// Several values in one cell, as Google writes them ("a ::: b").
QStringList multiValues(const QString& cell)
{
    QStringList values;
    for (const QString& part : cell.split(QStringLiteral(":::")))
        if (!part.trimmed().isEmpty())
            values.append(part.trimmed());
    return values;
}

// Cells the mail programs fill in for every contact without it holding anything.
bool isPlaceholder(const QString& value)
{
    for (const char* placeholder : {"0/0/00", "Unspecified", "Normal", "False"})
        if (value == QLatin1String(placeholder))
            return true;
    return false;
}

QString cellOf(const QStringList& row, std::size_t index)
{
    return index < static_cast<std::size_t>(row.size())
               ? row[static_cast<qsizetype>(index)].trimmed()
               : QString();
}

// The label cell that goes with the value column of pair number n.
QString pairLabel(const std::vector<Column>& columns, const QStringList& row, Role labelRole, int n)
{
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].role == labelRole && columns[i].pair == n)
            return cellOf(row, i);
    return QString();
}

ContactCard contactOf(const std::vector<Column>& columns, const QStringList& row)
{
    ContactCard card;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const Column& column = columns[i];
        const QString value = cellOf(row, i);
        if (value.isEmpty())
            continue;
        switch (column.role) {
        case Role::Family:
            card.familyName = value;
            break;
        case Role::Given:
            card.givenName = value;
            break;
        case Role::Middle:
            card.middleName = value;
            break;
        case Role::Formatted:
            if (card.formattedName.isEmpty())
                card.formattedName = value;
            break;
        case Role::PhoneticFamily:
            card.phoneticFamily = value;
            break;
        case Role::PhoneticGiven:
            card.phoneticGiven = value;
            break;
        case Role::PhoneticWhole:
            if (card.phoneticFamily.isEmpty() && card.phoneticGiven.isEmpty())
                card.phoneticFamily = value;
            break;
        case Role::Note:
            card.note = value;
            break;
        case Role::Labels: {
            const QStringList labels = multiValues(value);
            card.group = groupFromLabels(labels);
            for (const QString& label : labels)
                if (!label.startsWith(QLatin1Char('*')) && !groupFromLabels({label}))
                    card.droppedProperties.append(column.header);
            break;
        }
        case Role::Sensitivity:
            card.secret = value.compare(QLatin1String("Private"), Qt::CaseInsensitive) == 0 ||
                          value.compare(QLatin1String("Confidential"), Qt::CaseInsensitive) == 0 ||
                          value == QLatin1String("個人") || value == QLatin1String("極秘");
            break;
        case Role::Phone:
            card.numbers.push_back({value, column.telKind, false});
            break;
        case Role::PhoneValue: {
            const QString label = pairLabel(columns, row, Role::PhoneLabel, column.pair);
            for (const QString& number : multiValues(value))
                card.numbers.push_back(
                    {number, telKindFromWords({label}), label.startsWith(QLatin1Char('*'))});
            break;
        }
        case Role::Mail:
            card.mails.push_back({value, column.mailKind, false});
            break;
        case Role::MailValue: {
            const QString label = pairLabel(columns, row, Role::MailLabel, column.pair);
            for (const QString& address : multiValues(value))
                card.mails.push_back(
                    {address, mailKindFromWords({label}), label.startsWith(QLatin1Char('*'))});
            break;
        }
        case Role::Unknown:
            if (!isPlaceholder(value) && !card.droppedProperties.contains(column.header))
                card.droppedProperties.append(column.header);
            break;
        case Role::Ignored:
        case Role::PhoneLabel:
        case Role::MailLabel:
            break;
        }
    }
    card.droppedProperties.removeDuplicates();
    return card;
}

// A record of a CSV file read as Latin-1, with each field decoded on its own, as a row another
// program added may be in its own encoding; guessed gets the charset guessed for each field
// (empty when none was). The fields were split on the bytes: the separators are ASCII, which no
// byte of a multi-byte character in UTF-8 or code page 932 is.
QStringList decodedRecord(const QStringList& record, const QByteArray& charset,
                          QList<QByteArray>& guessed)
{
    QStringList fields;
    fields.reserve(record.size());
    for (const QString& field : record) {
        DecodedValue value = decodeContactValue(field.toLatin1(), charset, false);
        fields << std::move(value.text);
        guessed << value.guessed;
    }
    return fields;
}

} // namespace

ContactReadResult readCsvContacts(const ContactBytes& file, std::size_t keep)
{
    ContactReadResult result;
    std::vector<Column> columns;
    bool header = true;
    bool known = false; // the header names the person
    const auto read = [&](const QStringList& raw) {
        if (header) {
            header = false;
            QList<QByteArray> guessed;
            for (const QString& name : decodedRecord(raw, file.charset, guessed))
                columns.push_back(columnOf(name));
            known = hasRole(columns, {Role::Family, Role::Given, Role::Formatted});
            return true;
        }
        // Under a header that is not recognised, the records are only gone through to find a
        // quote left open, which is the message then; past the book's limit they are counted.
        if (!known)
            return true;
        if (result.cards.size() >= keep) {
            if (!isBlankRow(raw))
                ++result.leftOut;
            return true;
        }
        QList<QByteArray> guessed;
        const QStringList record = decodedRecord(raw, file.charset, guessed);
        if (isBlankRow(record))
            return true;
        ContactCard card = contactOf(columns, record);
        for (qsizetype c = 0; c < guessed.size(); ++c)
            if (!guessed[c].isEmpty())
                card.charsetGuesses.push_back(
                    {c < qsizetype(columns.size()) ? columns[c].header : QString::number(c + 1),
                     guessed[c], false});
        result.cards.push_back(std::move(card));
        return true;
    };
    const CsvEnd end = forEachCsvRecord(QString::fromLatin1(file.bytes), read);
    if (end.unterminatedQuote) {
        result.error = ContactReadError::Truncated;
        result.line = end.quoteLine;
    } else if (!known) {
        result.error = ContactReadError::HeaderNotRecognised;
    } else if (!hasRole(columns, {Role::Phone, Role::PhoneValue, Role::Mail, Role::MailValue})) {
        // Without a number or an address every entry would hold only the completion's "****":
        // the columns are better assigned by hand.
        result.error = ContactReadError::HeaderWithoutNumberOrAddress;
    }
    if (!result.ok()) {
        result.cards.clear();
        result.leftOut = 0;
    }
    return result;
}
