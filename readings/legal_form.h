#pragma once
// The legal form of a Japanese company name (株式会社, 有限会社, (株) …), which phone books leave
// out of the reading: 株式会社山田工務店 is sorted under ﾔﾏﾀﾞｺｳﾑﾃﾝ.

#include <QString>

// name (in its compatibility form, so ㈱ and （株） are "(株)") without its legal forms, or name
// as it is when nothing else would be left.
QString withoutLegalForm(const QString& name);
