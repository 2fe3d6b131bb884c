#include "phonebook/core/reading_classes.h"

#include <QCollatorSortKey>

#include <algorithm>
#include <numeric>

ReadingClasses::ReadingClasses() : collator_(QLocale(QLocale::Japanese, QLocale::Japan))
{
    // The texts arrive as hiragana in full width (readingMatchText), so kana type and width,
    // which the collator would tell apart at its finer levels, are already one. The voicing marks
    // (さ / ざ, は / ば / ぱ) make a difference at its secondary level and keep readings apart.
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    collator_.setIgnorePunctuation(false);
    collator_.setNumericMode(false);
}

int ReadingClasses::add(const QString& matchText)
{
    texts_.push_back(matchText);
    return static_cast<int>(texts_.size()) - 1;
}

void ReadingClasses::classify()
{
    std::vector<QCollatorSortKey> keys;
    keys.reserve(texts_.size());
    for (const QString& text : texts_)
        keys.push_back(collator_.sortKey(text));
    std::vector<int> order(texts_.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&keys](int a, int b) { return keys[a].compare(keys[b]) < 0; });
    classes_.assign(texts_.size(), 0);
    int current = -1;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i == 0 || keys[order[i - 1]].compare(keys[order[i]]) != 0)
            ++current;
        classes_[order[i]] = current;
    }
}
