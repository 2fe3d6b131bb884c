#pragma once
// The list of the list window: report view with grid lines, full-row and multiple selection,
// no sorting and no editing in place.

#include <QTableWidget>

class BookListView : public QTableWidget {
    Q_OBJECT
public:
    explicit BookListView(QWidget* parent = nullptr);

protected:
    // A list view gives no row the focus just because the list got the keyboard focus; only a
    // click or an arrow key does. Qt's item views would make the first row current here, and
    // 削除 would then remove an entry the user never chose.
    void focusInEvent(QFocusEvent* event) override;
};
