#pragma once
// MeCab with the IPA dictionary: splits text into words, each with the dictionary's reading.

#include <QString>

#include <memory>
#include <vector>

namespace MeCab {
class Model;
class Tagger;
} // namespace MeCab

struct MecabWord {
    QString surface;
    QString katakana;          // empty for a word the dictionary does not hold
    bool personalName = false; // a surname or given name of the dictionary
    bool surname = false;
    bool affix = false; // a prefix, suffix or counter (様, 科, 第, 日)
    int cost = 0;       // the dictionary's cost of the word: lower is more common
};

class MecabTagger {
public:
    MecabTagger();
    ~MecabTagger();

    // Opens the dictionary; false (with the reason in error()) when it is missing.
    bool open(const char* dictionaryDir);
    QString error() const { return error_; }

    // The best split of text into words; empty when text is empty or the tagger is not open.
    std::vector<MecabWord> words(const QString& text) const;

    // Every entry of the dictionary written exactly as text, with its reading.
    std::vector<MecabWord> entries(const QString& text) const;

private:
    template <typename Visit> void parse(const QString& text, Visit visit) const;

    std::unique_ptr<MeCab::Model> model_;
    std::unique_ptr<MeCab::Tagger> tagger_;
    QString error_;
};
