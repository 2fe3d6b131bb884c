#include "readings/names_table.h"

#include <algorithm>
#include <string_view>

bool NamesTable::load(const QByteArray& packed)
{
    text_ = qUncompress(packed);
    lineStarts_.clear();
    if (text_.isEmpty() || !text_.endsWith('\n'))
        return false;
    lineStarts_.reserve(text_.size() / 24);
    for (qsizetype start = 0; start < text_.size();) {
        lineStarts_.push_back(start);
        start = text_.indexOf('\n', start) + 1;
    }
    return true;
}

QByteArrayView NamesTable::findLine(QStringView writing) const
{
    const QByteArray key = writing.toUtf8();
    const std::string_view wanted(key.constData(), key.size());
    auto keyOf = [this](qsizetype start) {
        const qsizetype tab = text_.indexOf('\t', start);
        return std::string_view(text_.constData() + start, tab - start);
    };
    // The lines are sorted by the bytes of their writing.
    auto it =
        std::lower_bound(lineStarts_.begin(), lineStarts_.end(), wanted,
                         [&](qsizetype start, std::string_view k) { return keyOf(start) < k; });
    if (it == lineStarts_.end() || keyOf(*it) != wanted)
        return {};
    const qsizetype end = text_.indexOf('\n', *it);
    return QByteArrayView(text_.constData() + *it, end - *it);
}

std::vector<NameReading> NamesTable::readings(QStringView writing, NameRole role) const
{
    const QByteArrayView line = findLine(writing);
    std::vector<NameReading> found;
    // writing TAB surname readings TAB given readings; each reading ends in two digits.
    const std::string_view text(line.data(), line.size());
    const std::size_t firstTab = text.find('\t');
    const std::size_t secondTab = text.find('\t', firstTab + 1);
    if (line.isEmpty() || secondTab == std::string_view::npos)
        return found;
    std::string_view column = role == NameRole::Surname
                                  ? text.substr(firstTab + 1, secondTab - firstTab - 1)
                                  : text.substr(secondTab + 1);
    while (!column.empty()) {
        const std::size_t blank = column.find(' ');
        const std::string_view item = column.substr(0, blank);
        if (item.size() >= 3)
            found.push_back({QString::fromUtf8(item.data(), qsizetype(item.size() - 2)),
                             item[item.size() - 2] - '0', item.back() - '0'});
        column = blank == std::string_view::npos ? std::string_view() : column.substr(blank + 1);
    }
    return found;
}
