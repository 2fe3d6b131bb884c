#include "phonebook/core/field_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct RuleCase {
    const char* rule;
    std::string text;
    bool valid;
};

bool apply(const RuleCase& c)
{
    const std::string rule = c.rule;
    if (rule == "furigana")
        return checkFurigana(c.text.c_str());
    if (rule == "tel")
        return checkTelNumber(c.text.c_str());
    return checkMailAddress(c.text.c_str());
}

class FieldRules : public testing::TestWithParam<RuleCase> {};

TEST_P(FieldRules, AcceptsExactlyItsBytes)
{
    const RuleCase& c = GetParam();
    EXPECT_EQ(apply(c), c.valid) << c.rule << " on bytes of \"" << c.text << "\"";
}

// Boundaries of each rule: empty, every allowed class, the first byte outside each range, and a
// double-byte character (ア is 83 41 in code page 932).
INSTANTIATE_TEST_SUITE_P(
    Boundaries, FieldRules,
    testing::Values(RuleCase{"furigana", "", false}, RuleCase{"furigana", " ", true},
                    RuleCase{"furigana", "~", true}, RuleCase{"furigana", "Yamada Taro", true},
                    RuleCase{"furigana", "\xD4\xCF\xC0\xDE", true}, // ﾔﾏﾀﾞ
                    RuleCase{"furigana", "\xA1", true}, RuleCase{"furigana", "\xDF", true},
                    RuleCase{"furigana", "\x1F", false}, RuleCase{"furigana", "\x7F", false},
                    RuleCase{"furigana", "\xA0", false}, RuleCase{"furigana", "\xE0", false},
                    RuleCase{"furigana", "\x83\x41", false},
                    RuleCase{"furigana", "\xB1\x83\x41", false}, RuleCase{"tel", "", true},
                    RuleCase{"tel", "0123456789", true}, RuleCase{"tel", "*31#P0312345678", true},
                    RuleCase{"tel", "03-1234", false}, RuleCase{"tel", "p", false},
                    RuleCase{"tel", "+81", false}, RuleCase{"tel", " ", false},
                    RuleCase{"tel", "/", false}, RuleCase{"tel", ":", false},
                    RuleCase{"tel", "\x82\x4F", false}, RuleCase{"mail", "", true},
                    RuleCase{"mail", "a.b+c-d_9@example.jp", true}, RuleCase{"mail", "!", true},
                    RuleCase{"mail", "~", true}, RuleCase{"mail", "a b@x", false},
                    RuleCase{"mail", "a;b@x", false}, RuleCase{"mail", "\x7F", false},
                    RuleCase{"mail", "\x1F", false}, RuleCase{"mail", "(", false},
                    RuleCase{"mail", ")", false}, RuleCase{"mail", ",", false},
                    RuleCase{"mail", "<", false}, RuleCase{"mail", "=", false},
                    RuleCase{"mail", ">", false}, RuleCase{"mail", "[", false},
                    RuleCase{"mail", "]", false}, RuleCase{"mail", "\x82\x60@x", false}));

} // namespace
