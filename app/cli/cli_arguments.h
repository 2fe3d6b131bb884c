#pragma once
// The arguments of a vemblor-cli command, parsed the same way for every command: options with
// a value, flags, and the plain words (file names, names) in their order.

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

struct CliArguments {
    QStringList files;              // the words that are no option, in their order
    QHash<QString, QString> values; // "--port" -> its value; the last one given counts
    QStringList flags;              // "--yes", ... as given

    bool has(const QString& flag) const { return flags.contains(flag); }
};

// Nothing when an option is unknown or lacks its value; error (when given) then says which.
// A value option's value is the next argument, whatever it looks like.
std::optional<CliArguments> parseCliArguments(const QStringList& arguments,
                                              const QStringList& valueOptions,
                                              const QStringList& flagOptions,
                                              QString* error = nullptr);
