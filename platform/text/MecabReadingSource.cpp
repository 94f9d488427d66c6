#include "platform/text/MecabReadingSource.h"

#include <QByteArray>
#include <QFileInfo>

#include <mecab.h>

namespace {

constexpr int kReadingField = 7;
const char kSystemDictionary[] = "/var/lib/mecab/dic/ipadic-utf8";
const char kSystemResource[] = "/etc/mecabrc";

// The field of a comma-separated feature string, or an empty view.
QStringView featureField(const QString& feature, int index)
{
    qsizetype start = 0;
    for (int i = 0; i < index; ++i) {
        start = feature.indexOf(u',', start);
        if (start < 0)
            return {};
        ++start;
    }
    const qsizetype end = feature.indexOf(u',', start);
    return QStringView(feature).sliced(start, (end < 0 ? feature.size() : end) - start);
}

// The word parts of one node, at `offset` in the text.
void appendNodeParts(const mecab_node_t* node, qsizetype offset, std::vector<KanaText::WordPart>& parts)
{
    const QString surface = QString::fromUtf8(node->surface, node->length);
    const QString feature = QString::fromUtf8(node->feature);
    const QStringView reading = featureField(feature, kReadingField);
    if (reading.isEmpty() || reading == u"*")
        return;
    for (KanaText::WordPart part : KanaText::KanjiParts(surface, KanaText::ToHiragana(reading))) {
        part.Begin += offset;
        parts.push_back(std::move(part));
    }
}

} // namespace

struct CMecabReadingSource::Handles {
    mecab_model_t* Model = nullptr;
    mecab_t* Tagger = nullptr;

    ~Handles()
    {
        if (Tagger)
            mecab_destroy(Tagger);
        if (Model)
            mecab_model_destroy(Model);
    }
};

std::shared_ptr<const CReadingSource> CReadingSource::System()
{
    static const std::shared_ptr<const CReadingSource> source = CMecabReadingSource::Open(kSystemDictionary);
    return source;
}

CMecabReadingSource::CMecabReadingSource(std::unique_ptr<Handles> handles) : m_handles(std::move(handles)) {}

CMecabReadingSource::~CMecabReadingSource() = default;

std::unique_ptr<CMecabReadingSource> CMecabReadingSource::Open(const QString& dictionaryFolder)
{
    if (!QFileInfo(dictionaryFolder + QStringLiteral("/sys.dic")).isFile())
        return nullptr;
    // The resource file only names the default dictionary; without one MeCab reads none at all.
    const QString resource = QFileInfo::exists(kSystemResource) ? kSystemResource : QStringLiteral("/dev/null");
    const QByteArray arguments = QStringLiteral("-r %1 -d %2").arg(resource, dictionaryFolder).toLocal8Bit();
    auto handles = std::make_unique<Handles>();
    handles->Model = mecab_model_new2(arguments.constData());
    if (!handles->Model)
        return nullptr;
    const mecab_dictionary_info_t* info = mecab_model_dictionary_info(handles->Model);
    const QByteArray charset = info && info->charset ? QByteArray(info->charset).toLower() : QByteArray();
    if (charset != "utf8" && charset != "utf-8")
        return nullptr;
    handles->Tagger = mecab_model_new_tagger(handles->Model);
    if (!handles->Tagger)
        return nullptr;
    return std::unique_ptr<CMecabReadingSource>(new CMecabReadingSource(std::move(handles)));
}

std::vector<KanaText::WordPart> CMecabReadingSource::Read(QStringView text) const
{
    std::vector<KanaText::WordPart> parts;
    const QByteArray sentence = text.toUtf8();
    mecab_lattice_t* lattice = mecab_model_new_lattice(m_handles->Model);
    if (!lattice)
        return parts;
    mecab_lattice_set_sentence2(lattice, sentence.constData(), size_t(sentence.size()));
    if (mecab_parse_lattice(m_handles->Tagger, lattice)) {
        // UTF-16 offsets follow the byte offsets of the nodes into the sentence.
        const char* base = mecab_lattice_get_sentence(lattice);
        qsizetype byteAt = 0;
        qsizetype offset = 0;
        for (const mecab_node_t* node = mecab_lattice_get_bos_node(lattice); node; node = node->next) {
            if (node->stat != MECAB_NOR_NODE && node->stat != MECAB_UNK_NODE)
                continue;
            const qsizetype nodeAt = node->surface - base;
            offset += QString::fromUtf8(base + byteAt, nodeAt - byteAt).size();
            appendNodeParts(node, offset, parts);
            byteAt = nodeAt;
        }
    }
    mecab_lattice_destroy(lattice);
    return parts;
}
