#include "phonebook/ui/merge_incoming.h"

#include "phonebook/core/book_document.h"
#include "phonebook/ui/merge_preview_dlg.h"
#include "phonebook/ui/tel_list_dlg.h"

#include <memory>

std::optional<MergeOutcome> mergeIncoming(CTelListDlg& list, std::span<const TelEntry> incoming)
{
    BookDocument& document = list.document();
    CMergePreviewDlg preview(document.book(), incoming, &list);
    if (preview.exec() != QDialog::Accepted)
        return std::nullopt;
    auto merged = std::make_unique<TelBook>(document.book());
    MergeOutcome outcome = applyMergePlan(*merged, incoming, preview.plan());
    // The window accepts no plan over the capacity; applyMergePlan has left merged as it was.
    if (outcome.refused)
        return std::nullopt;
    // The merged book belongs to the file the book came from: 保存 writes it there.
    document.replace(*merged, document.filePath());
    return outcome;
}
