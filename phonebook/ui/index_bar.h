#pragma once
// The row of index buttons above the list: あ か さ た な は ま や ら わ 英数, one per row of the
// syllabary, each announcing its row when pressed.

#include <QWidget>

class IndexBar : public QWidget {
    Q_OBJECT
public:
    explicit IndexBar(QWidget* parent = nullptr);

signals:
    // gojuonRow counts from 0 (あ行) to GOJUON_OTHER_ROW (英数).
    void rowChosen(int gojuonRow);
};
