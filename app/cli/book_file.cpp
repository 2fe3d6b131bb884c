#include "app/cli/book_file.h"

#include "app/cli/cli_commands.h"

// TODO(vcard): read and write through the vCard reader and writer once they are on main. Until
// then the handset commands stop here with this message instead of touching any file.
namespace {
bool vCardMissing(const QString& path)
{
    printError(QStringLiteral("vemblor-cli: vCard files are not supported by this build yet (%1)")
                   .arg(path));
    return false;
}
} // namespace

bool loadBookFile(const QString& path, TelBook&)
{
    return vCardMissing(path);
}

bool saveBookFile(const QString& path, const TelBook&)
{
    return vCardMissing(path);
}
