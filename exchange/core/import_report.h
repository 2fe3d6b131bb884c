#pragma once
// What an import of contacts changed, entry by entry, so that nothing is changed silently: the
// import window lists it and the command-line tool writes it as JSON.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

enum class ChangeKind {
    Cut,      // text cut to its field
    Dropped,  // a number, an address, a character or a property left out
    Folded,   // a character replaced by the form code page 932 holds
    Filled,   // a field the file left empty, filled in by the completion
    Proposed, // a reading proposed from the name
    Decoded,  // text read in a charset its file did not name
};

struct FieldChange {
    ChangeKind kind;
    QString field; // "名前", "電話番号4", "フリガナ", …
    QString text;  // the sentence shown to the user
};

struct EntryReport {
    int index = 0; // in the book, from 0
    QString name;  // as imported
    std::vector<FieldChange> changes;

    void add(ChangeKind kind, const QString& field, const QString& text)
    {
        changes.push_back({kind, field, text});
    }
    bool has(ChangeKind kind) const;
};

struct ImportReport {
    int cardCount = 0;                // contacts in the file
    int leftOut = 0;                  // contacts beyond the book's capacity
    std::vector<EntryReport> entries; // one per imported entry, in book order

    // One line per change ("3件目 山田太郎: …"), and the count of the contacts left out.
    QStringList lines() const;
    QString text() const;
    QByteArray toJson() const;
};

const char* changeKindName(ChangeKind kind);
// "電話帳は1000件までのため、N件を取り込みませんでした。"
QString leftOutMessage(int leftOut);
