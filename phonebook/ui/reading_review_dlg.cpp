#include "phonebook/ui/reading_review_dlg.h"

#include "phonebook/core/tel_book.h"
#include "phonebook/ui/book_list_view.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "window_services/dialog_units.h"
#include "window_services/key_filter.h"
#include "window_services/message_service.h"

#include <QHeaderView>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {

enum Column { NAME, READING, PROPOSED, COLUMNS };

constexpr const char* NOTHING_TO_CHANGE = "名前から付け直すフリガナはありません。";

} // namespace

CReadingReviewDlg::CReadingReviewDlg(std::vector<ReadingChange> changes, QWidget* parent)
    : QDialog(parent), changes_(std::move(changes)), list_(new BookListView(this))
{
    setWindowTitle(QStringLiteral("フリガナを付け直す"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    // Escape is キャンセル, which leaves the book as it was.
    keepDialogKeys(*this);

    auto* bar = new QMenuBar(this);
    decide_ = bar->addAction(QStringLiteral("決定(&O)"));
    cancel_ = bar->addAction(QStringLiteral("キャンセル(&C)"));
    connect(decide_, &QAction::triggered, this, &QDialog::accept);
    connect(cancel_, &QAction::triggered, this, &QDialog::reject);

    list_->setColumnCount(COLUMNS);
    list_->setHorizontalHeaderLabels(
        {QStringLiteral("名前"), QStringLiteral("フリガナ"), QStringLiteral("新しいフリガナ")});
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->setRowCount(static_cast<int>(changes_.size()));
    for (int row = 0; row < list_->rowCount(); ++row) {
        const ReadingChange& change = changes_[row];
        auto* name = new QTableWidgetItem(change.name);
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        name->setCheckState(change.chosen ? Qt::Checked : Qt::Unchecked);
        list_->setItem(row, NAME, name);
        list_->setItem(row, READING, new QTableWidgetItem(change.reading));
        list_->setItem(row, PROPOSED, new QTableWidgetItem(change.proposed));
    }
    DialogUnits units(this);
    list_->setColumnWidth(NAME, units.x(110));
    list_->setColumnWidth(READING, units.x(110));

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(bar);
    layout->addWidget(list_);
    resize(units.x(380), units.y(200) + bar->sizeHint().height());
}

std::vector<ReadingChange> CReadingReviewDlg::changes() const
{
    std::vector<ReadingChange> chosen = changes_;
    for (int row = 0; row < list_->rowCount(); ++row)
        chosen[row].chosen = list_->item(row, NAME)->checkState() == Qt::Checked;
    return chosen;
}

void runReadingReview(CTelListDlg& list)
{
    BookDocument& document = list.document();
    std::vector<ReadingChange> changes = proposeReadingChanges(document.book());
    if (changes.empty()) {
        showMessage(NOTHING_TO_CHANGE);
        return;
    }
    CReadingReviewDlg dialog(std::move(changes), &list);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The readings change together, as one change of the book.
    auto book = std::make_unique<TelBook>(document.book());
    if (applyReadingChanges(*book, dialog.changes()) > 0)
        document.replace(*book, document.filePath());
}
