#pragma once
// vemblor-cli convert and check: a file read into the book, written out again or checked.

#include "app/cli/cli_arguments.h"

#include <QStringList>

#include <initializer_list>

struct TelBook;

// convert IN OUT [--readings] [input options]: IN by its suffix, OUT as .vcf or .json; with
// --readings, entries without a reading of their own get one made from their name.
int runConvert(const QStringList& arguments);
// check BOOK.vcf: the record check over the entries of a file.
int runCheck(const QStringList& arguments);

// Shared with import and export.
bool hasSuffix(const QString& path, std::initializer_list<const char*> suffixes);
// Prints text and returns CLI_USAGE.
int usage(const QString& text);
int usage(const char* text);
// Whether OUT names a book file convert writes (.vcf, .vcard, .json).
bool isBookOutput(const QString& path);
// Writes book to OUT as the vCard writer's file or as JSON; CLI_OK or CLI_FAILED after the
// message was printed.
int writeBookOutput(const QString& path, const TelBook& book);
// The record check over book: CLI_OK, or CLI_FAILED after its message was printed.
int checkImportedBook(const TelBook& book);
// Reads IN into book as convert does (by suffix, with convert's input options); CLI_OK or the
// exit status after the message was printed.
int importConvertInput(const QString& path, const CliArguments& options, TelBook& book);
// The options of convert's input, as parseCliArguments takes them.
QStringList convertInputOptions();
