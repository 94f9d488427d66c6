#include "platform/text/CodePage.h"

#include <iconv.h>

#include <cerrno>
#include <unordered_map>
#include <vector>

namespace CodePage {
namespace {

struct Mapping {
    int codePage;
    const char* charset;
};

constexpr Mapping kMappings[] = {
    {37, "IBM037"},        {437, "CP437"},         {500, "IBM500"},       {737, "CP737"},
    {775, "CP775"},        {850, "CP850"},         {852, "CP852"},        {855, "CP855"},
    {857, "CP857"},        {858, "CP858"},         {860, "CP860"},        {861, "CP861"},
    {862, "CP862"},        {863, "CP863"},         {864, "CP864"},        {865, "CP865"},
    {866, "CP866"},        {869, "CP869"},         {874, "CP874"},        {932, "CP932"},
    {936, "CP936"},        {949, "CP949"},         {950, "CP950"},        {1200, "UTF-16LE"},
    {1201, "UTF-16BE"},    {1250, "CP1250"},       {1251, "CP1251"},      {1252, "CP1252"},
    {1253, "CP1253"},      {1254, "CP1254"},       {1255, "CP1255"},      {1256, "CP1256"},
    {1257, "CP1257"},      {1258, "CP1258"},       {10000, "MACINTOSH"},  {10007, "MAC-CYRILLIC"},
    {12000, "UTF-32LE"},   {12001, "UTF-32BE"},    {20127, "ASCII"},      {20866, "KOI8-R"},
    {20932, "EUC-JP"},     {20936, "GB2312"},      {21866, "KOI8-U"},     {28591, "ISO-8859-1"},
    {28592, "ISO-8859-2"}, {28593, "ISO-8859-3"},  {28594, "ISO-8859-4"}, {28595, "ISO-8859-5"},
    {28596, "ISO-8859-6"}, {28597, "ISO-8859-7"},  {28598, "ISO-8859-8"}, {28599, "ISO-8859-9"},
    {28603, "ISO-8859-13"}, {28605, "ISO-8859-15"}, {50220, "ISO-2022-JP"}, {50221, "ISO-2022-JP"},
    {50222, "ISO-2022-JP"}, {51932, "EUC-JP"},     {51936, "EUC-CN"},     {51949, "EUC-KR"},
    {52936, "HZ"},         {54936, "GB18030"},     {65001, "UTF-8"},
};

constexpr char16_t kReplacement = 0xFFFD;

// Pages whose bytes 0x00-0x7F are plain ASCII, so ASCII-only text needs no iconv call.
bool isAsciiCompatible(int codePage)
{
    switch (codePage) {
    case 37: case 500: case 1200: case 1201: case 12000: case 12001:
    case 50220: case 50221: case 50222: case 52936:
        return false;
    default:
        return true;
    }
}

bool isAscii(const char* data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i)
        if (static_cast<unsigned char>(data[i]) >= 0x80)
            return false;
    return true;
}

// Converters opened on first use and closed when their thread ends.
struct ConverterCache {
    std::unordered_map<int, iconv_t> decoders;
    std::unordered_map<int, iconv_t> encoders;

    ~ConverterCache()
    {
        for (auto* cache : {&decoders, &encoders})
            for (const auto& [page, cd] : *cache)
                if (cd != reinterpret_cast<iconv_t>(-1))
                    iconv_close(cd);
    }
};

// One converter per page and direction. The GUI thread is the only heavy user, but tests and
// benchmarks may convert from other threads, hence thread_local.
iconv_t converter(int codePage, bool toUnicode)
{
    thread_local ConverterCache converters;
    auto& cache = toUnicode ? converters.decoders : converters.encoders;
    if (auto found = cache.find(codePage); found != cache.end())
        return found->second;
    const char* charset = charsetName(codePage);
    iconv_t cd = toUnicode ? iconv_open("UTF-16LE", charset) : iconv_open(charset, "UTF-16LE");
    cache.emplace(codePage, cd);
    return cd;
}

QString utf16FromBytes(const char* data, qsizetype size, bool bigEndian)
{
    QString result(size / 2, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(result.data());
    const auto* in = reinterpret_cast<const unsigned char*>(data);
    for (qsizetype i = 0; i + 1 < size; i += 2)
        *out++ = bigEndian ? char16_t(in[i] << 8 | in[i + 1]) : char16_t(in[i] | in[i + 1] << 8);
    if (size % 2)
        result.append(QChar(kReplacement));
    return result;
}

QString decodeWithIconv(iconv_t cd, const char* data, qsizetype size)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::vector<char16_t> buffer(static_cast<size_t>(size) * 2 + 8);
    char* in = const_cast<char*>(data);
    size_t inLeft = static_cast<size_t>(size);
    char* out = reinterpret_cast<char*>(buffer.data());
    size_t outLeft = buffer.size() * sizeof(char16_t);
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG)
            break; // cannot happen: every input byte gives at most two code units
        // EILSEQ: an invalid byte; EINVAL: a sequence cut short at the end.
        *reinterpret_cast<char16_t*>(out) = kReplacement;
        out += sizeof(char16_t);
        outLeft -= sizeof(char16_t);
        if (errno == EINVAL)
            break;
        ++in;
        --inLeft;
    }
    const auto units = (reinterpret_cast<char16_t*>(out) - buffer.data());
    return QString(reinterpret_cast<const QChar*>(buffer.data()), units);
}

QByteArray encodeWithIconv(iconv_t cd, const QString& text)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    QByteArray result;
    result.reserve(text.size() * 2);
    char buffer[256];
    const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
    qsizetype index = 0;
    const qsizetype count = text.size();
    while (index < count) {
        // One character (a surrogate pair counts as one) at a time keeps the error handling simple.
        const qsizetype length =
            (QChar::isHighSurrogate(units[index]) && index + 1 < count && QChar::isLowSurrogate(units[index + 1])) ? 2 : 1;
        char* in = reinterpret_cast<char*>(const_cast<char16_t*>(units + index));
        size_t inLeft = static_cast<size_t>(length) * sizeof(char16_t);
        char* out = buffer;
        size_t outLeft = sizeof(buffer);
        if (iconv(cd, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1)) {
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            result.append('?');
        } else {
            result.append(buffer, out - buffer);
        }
        index += length;
    }
    // Stateful pages (ISO-2022-JP) return to their initial shift state at the end.
    char* out = buffer;
    size_t outLeft = sizeof(buffer);
    iconv(cd, nullptr, nullptr, &out, &outLeft);
    result.append(buffer, out - buffer);
    return result;
}

} // namespace

const char* charsetName(int codePage)
{
    for (const auto& mapping : kMappings)
        if (mapping.codePage == codePage)
            return mapping.charset;
    return nullptr;
}

bool isKnown(int codePage)
{
    return charsetName(codePage) != nullptr;
}

QString toUnicode(const char* data, qsizetype size, int codePage)
{
    if (!isKnown(codePage) || size <= 0)
        return {};
    if (codePage == Utf8)
        return QString::fromUtf8(data, size);
    if (codePage == Utf16LE || codePage == Utf16BE)
        return utf16FromBytes(data, size, codePage == Utf16BE);
    if (isAsciiCompatible(codePage) && isAscii(data, size))
        return QString::fromLatin1(data, size);
    iconv_t cd = converter(codePage, true);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    return decodeWithIconv(cd, data, size);
}

QByteArray fromUnicode(const QString& text, int codePage)
{
    if (!isKnown(codePage) || text.isEmpty())
        return {};
    if (codePage == Utf8)
        return text.toUtf8();
    if (codePage == Utf16LE)
        return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    iconv_t cd = converter(codePage, false);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    return encodeWithIconv(cd, text);
}

} // namespace CodePage
