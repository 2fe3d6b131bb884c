#include "app/cli/book_file.h"

#include "app/cli/cli_file_host.h"
#include "exchange/core/vcard_reader.h"
#include "exchange/core/vcard_writer.h"

bool loadBookFile(const QString& path, TelBook& book)
{
    CliFileHost host;
    const int result = readVCardFile(path, book, host);
    if (result == FILE_TASK_FAILED)
        printError(QString::fromUtf8(VCARD_IMPORT_FAILED_MESSAGE));
    else if (result == FILE_TASK_BAD_VERSION)
        printError(QString::fromUtf8(VCARD_BAD_VERSION_MESSAGE));
    // The only message a finished import shows is that the file held no card.
    return result == FILE_TASK_DONE && host.messages == 0;
}

bool saveBookFile(const QString& path, const TelBook& book)
{
    CliFileHost host;
    const int result = writeVCardFile(path, book, host);
    if (result == FILE_TASK_FAILED)
        printError(QString::fromUtf8(SAVE_FAILED_MESSAGE));
    return result == FILE_TASK_DONE;
}
