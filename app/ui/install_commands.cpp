#include "app/ui/install_commands.h"

#include "app/core/settings.h"
#include "device/ui/device_commands.h"
#include "device/ui/sync_command.h"
#include "exchange/ui/contact_commands.h"
#include "exchange/ui/csv_import_command.h"
#include "exchange/ui/vcard_commands.h"
#include "phonebook/ui/duplicates_dlg.h"
#include "phonebook/ui/edit_commands.h"
#include "phonebook/ui/list_commands.h"
#include "phonebook/ui/reading_review_dlg.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "readings/reading_service.h"

ListCommands programListCommands(const Settings& settings)
{
    ListCommands commands;
    commands.save = saveBook;
    commands.saveAs = saveBookAs;
    commands.importVCard = importVCard;
    commands.importCsv = importCsv;
    // Contacts without a reading get one made from their name before the import's completion.
    commands.importContacts = [](CTelListDlg& list) { importContacts(list, bestReadingCp932); };
    commands.exportForSmartphones = exportForSmartphones;
    commands.edit = runEditCommand;
    commands.add = runAddCommand;
    commands.reviewReadings = runReadingReview;
    commands.tidyDuplicates = tidyDuplicates;
    commands.deviceRead = [&settings](CTelListDlg& list) {
        readFromHandset(list, settings.portDevicePath(settings.portInUse()),
                        settings.transferOptions());
    };
    commands.deviceWrite = [&settings](CTelListDlg& list) {
        writeToHandset(list, settings.portDevicePath(settings.portInUse()),
                       settings.transferOptions());
    };
    commands.deviceSync = [&settings](CTelListDlg& list) {
        syncWithHandset(list, settings.portDevicePath(settings.portInUse()),
                        settings.transferOptions());
    };
    commands.restoreBackup = [&settings](CTelListDlg& list) {
        restoreBackupToHandset(list, settings.portDevicePath(settings.portInUse()),
                               settings.transferOptions());
    };
    return commands;
}
