#include "readings/mecab_tagger.h"

#include <QStringList>

#include <mecab.h>

namespace {

// IPA dictionary features: part of speech, three sub-classes, conjugation type and form, base
// form, reading, pronunciation. Words the dictionary does not hold have only the first seven.
constexpr int READING_FIELD = 7;

MecabWord wordOf(const MeCab::Node& node)
{
    MecabWord word;
    word.surface = QString::fromUtf8(node.surface, node.length);
    word.cost = node.wcost;
    const QStringList features = QString::fromUtf8(node.feature).split(QLatin1Char(','));
    if (node.stat == MECAB_NOR_NODE && features.size() > READING_FIELD &&
        features[READING_FIELD] != QLatin1String("*"))
        word.katakana = features[READING_FIELD];
    word.personalName = features.size() > 2 && features[2] == QStringLiteral("人名");
    word.surname = word.personalName && features.size() > 3 && features[3] == QStringLiteral("姓");
    word.affix = features.size() > 1 &&
                 (features[0] == QStringLiteral("接頭詞") || features[1] == QStringLiteral("接尾"));
    return word;
}

} // namespace

MecabTagger::MecabTagger() = default;
MecabTagger::~MecabTagger() = default;

bool MecabTagger::open(const char* dictionaryDir)
{
    const QByteArray arguments = QByteArray("-r /dev/null -d ") + dictionaryDir;
    model_.reset(MeCab::createModel(arguments.constData()));
    if (!model_) {
        error_ = QString::fromUtf8(MeCab::getLastError());
        return false;
    }
    tagger_.reset(model_->createTagger());
    return tagger_ != nullptr;
}

template <typename Visit> void MecabTagger::parse(const QString& text, Visit visit) const
{
    if (!tagger_ || text.isEmpty())
        return;
    const QByteArray utf8 = text.toUtf8();
    std::unique_ptr<MeCab::Lattice> lattice(model_->createLattice());
    lattice->set_sentence(utf8.constData());
    if (tagger_->parse(lattice.get()))
        visit(*lattice, utf8.size());
}

std::vector<MecabWord> MecabTagger::words(const QString& text) const
{
    std::vector<MecabWord> found;
    parse(text, [&found](MeCab::Lattice& lattice, qsizetype) {
        for (const MeCab::Node* node = lattice.bos_node()->next;
             node && node->stat != MECAB_EOS_NODE; node = node->next)
            found.push_back(wordOf(*node));
    });
    return found;
}

std::vector<MecabWord> MecabTagger::entries(const QString& text) const
{
    std::vector<MecabWord> found;
    parse(text, [&found](MeCab::Lattice& lattice, qsizetype length) {
        for (const MeCab::Node* node = lattice.begin_nodes(0); node; node = node->bnext)
            if (qsizetype(node->length) == length && node->stat == MECAB_NOR_NODE) {
                MecabWord word = wordOf(*node);
                if (!word.katakana.isEmpty())
                    found.push_back(std::move(word));
            }
    });
    return found;
}
