#include "window_services/drop_down_list.h"

#include <QComboBox>

void dropListBelow(QComboBox& box, int rows)
{
    // "combobox-popup: 0" asks every style for the list below the box, which also honours the
    // number of rows.
    box.setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    box.setMaxVisibleItems(rows);
}
