#pragma once
// Readings grouped by the Japanese collator: ｻﾄｳ, さとう and サトウ fall into one class, さとう
// and ざとう into two. Each reading gets the number of its class, so that the matching compares
// small integers instead of calling the collator for every pair of entries.

#include <QCollator>
#include <QString>

#include <vector>

class ReadingClasses {
public:
    ReadingClasses();

    // Adds a reading (as readingMatchText makes it) and returns its position for classOf.
    int add(const QString& matchText);

    // Sorts the added readings by the collator and numbers the classes; call once after the
    // last add.
    void classify();

    // The class of the reading added at position; equal classes are equal readings.
    int classOf(int position) const { return classes_[position]; }

private:
    QCollator collator_;
    std::vector<QString> texts_;
    std::vector<int> classes_;
};
