#pragma once
// The lists of the phone book windows: report view with grid lines, full-row and multiple
// selection, no sorting (a list that sorts turns it on) and no editing in place. The list window
// shows the book's model through a table view; the editor's sub-lists and the readings review
// hold their own items.

#include <QFocusEvent>
#include <QHeaderView>
#include <QTableView>
#include <QTableWidget>

template <class View> class ReportView : public View {
public:
    explicit ReportView(QWidget* parent = nullptr) : View(parent)
    {
        this->setSelectionBehavior(QAbstractItemView::SelectRows);
        this->setSelectionMode(QAbstractItemView::ExtendedSelection);
        this->setEditTriggers(QAbstractItemView::NoEditTriggers);
        // The tab key leaves the list for the next control; the arrow keys move within it.
        this->setTabKeyNavigation(false);
        this->setSortingEnabled(false);
        this->setShowGrid(true);
        this->setWordWrap(false);
        this->verticalHeader()->hide();
        this->verticalHeader()->setDefaultSectionSize(this->fontMetrics().height() + 4);
        this->horizontalHeader()->setHighlightSections(false);
        this->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }

protected:
    // A list view gives no row the focus just because the list got the keyboard focus; only a
    // click or an arrow key does. Qt's item views would make the first row current here, and
    // 削除 would then remove an entry the user never chose.
    void focusInEvent(QFocusEvent* event) override
    {
        QAbstractScrollArea::focusInEvent(event);
        this->viewport()->update();
    }
};

using BookListView = ReportView<QTableWidget>;
using BookTableView = ReportView<QTableView>;
