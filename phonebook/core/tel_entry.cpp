#include "phonebook/core/tel_entry.h"

#include <iterator>

const char* telKindText(std::uint8_t kind)
{
    static const char* const texts[] = {"電話番号", "携帯電話", "ＰＨＳ", "会社", "ＦＡＸ"};
    return kind < std::size(texts) ? texts[kind] : "";
}

const char* mailKindText(std::uint8_t kind)
{
    static const char* const texts[] = {"指定なし", "会社ＰＣ"};
    return kind < std::size(texts) ? texts[kind] : "";
}
