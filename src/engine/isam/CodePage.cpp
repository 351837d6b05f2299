#include "engine/isam/CodePage.h"

#include <QHash>
#include <QMutex>
#include <array>
#include <map>
#include <unicode/ucnv.h>

namespace kv::engine::isam {

struct CodePage::Tables {
    QString icuName;
    bool singleByte = true;
    std::array<char16_t, 256> toUnicode {};
    QHash<char16_t, unsigned char> fromUnicode;
};

namespace {

struct Known {
    int number;
    const char* icu;
    const char* display;
};

constexpr Known KnownPages[] = {
    { 1252, "windows-1252", "Windows-1252" },
    { 1250, "windows-1250", "Windows-1250" },
    { 1251, "windows-1251", "Windows-1251" },
    { 1253, "windows-1253", "Windows-1253" },
    { 1254, "windows-1254", "Windows-1254" },
    { 1255, "windows-1255", "Windows-1255" },
    { 1256, "windows-1256", "Windows-1256" },
    { 1257, "windows-1257", "Windows-1257" },
    { 1258, "windows-1258", "Windows-1258" },
    { 874, "windows-874-2000", "Windows-874" },
    { 437, "ibm-437", "DOS 437" },
    { 737, "ibm-737", "DOS 737" },
    { 850, "ibm-850", "DOS 850" },
    { 852, "ibm-852", "DOS 852" },
    { 857, "ibm-857", "DOS 857" },
    { 860, "ibm-860", "DOS 860" },
    { 861, "ibm-861", "DOS 861" },
    { 863, "ibm-863", "DOS 863" },
    { 865, "ibm-865", "DOS 865" },
    { 866, "ibm-866", "DOS 866" },
    { 10000, "macintosh", "Mac Roman" },
    { 10006, "x-mac-greek", "Mac Griechisch" },
    { 10007, "x-mac-cyrillic", "Mac Kyrillisch" },
    { 10029, "x-mac-centraleurroman", "Mac Mitteleuropa" },
    { 932, "ibm-943_P15A-2003", "Shift-JIS (932)" },
    { 936, "windows-936-2000", "GBK (936)" },
    { 949, "windows-949-2000", "Koreanisch (949)" },
    { 950, "windows-950-2000", "Big5 (950)" },
    { 620, "ibm-437", "Mazovia (620)" },
    { 65001, "UTF-8", "UTF-8" },
};

const Known* known(int number)
{
    for (const Known& k : KnownPages)
        if (k.number == number)
            return &k;
    return nullptr;
}

// Mazovia is DOS 437 with the Polish letters in place of some accented ones.
constexpr std::pair<unsigned char, char16_t> MazoviaLetters[] = { { 0x86, u'ą' }, { 0x8D, u'ć' },
    { 0x8F, u'Ą' }, { 0x90, u'Ę' }, { 0x91, u'ę' }, { 0x92, u'ł' }, { 0x95, u'Ć' }, { 0x98, u'Ś' },
    { 0x9C, u'Ł' }, { 0x9E, u'ś' }, { 0xA0, u'Ź' }, { 0xA1, u'Ż' }, { 0xA2, u'ó' }, { 0xA3, u'Ó' },
    { 0xA4, u'ń' }, { 0xA5, u'Ń' }, { 0xA6, u'ź' }, { 0xA7, u'ż' } };

std::shared_ptr<const CodePage::Tables> build(const Known& k)
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter* conv = ucnv_open(k.icu, &status);
    if (U_FAILURE(status) || !conv)
        return nullptr;
    auto t = std::make_shared<CodePage::Tables>();
    t->icuName = QString::fromLatin1(k.icu);
    t->singleByte = ucnv_getMaxCharSize(conv) == 1;
    if (t->singleByte) {
        for (int b = 0; b < 256; ++b) {
            const char c = static_cast<char>(b);
            UChar out[4];
            status = U_ZERO_ERROR;
            const int32_t n = ucnv_toUChars(conv, out, 4, &c, 1, &status);
            // Bytes the code page leaves unassigned keep their Latin-1 meaning so that nothing
            // read is ever lost.
            t->toUnicode[b] = (U_SUCCESS(status) && n == 1 && out[0] != 0xFFFD)
                ? static_cast<char16_t>(out[0])
                : static_cast<char16_t>(b);
        }
        if (k.number == 620)
            for (const auto& [byte, letter] : MazoviaLetters)
                t->toUnicode[byte] = letter;
        for (int b = 255; b >= 0; --b)
            t->fromUnicode.insert(t->toUnicode[b], static_cast<unsigned char>(b));
    }
    ucnv_close(conv);
    return t;
}

std::shared_ptr<const CodePage::Tables> tablesFor(int number)
{
    static QMutex mutex;
    static std::map<int, std::shared_ptr<const CodePage::Tables>> cache;
    const QMutexLocker lock(&mutex);
    auto it = cache.find(number);
    if (it != cache.end())
        return it->second;
    const Known* k = known(number);
    auto t = k ? build(*k) : nullptr;
    cache.emplace(number, t);
    return t;
}

struct LanguageId {
    unsigned char id;
    int codePage;
};

// The language bytes of dBASE and FoxPro; the first entry for a code page is what we write.
constexpr LanguageId LanguageIds[] = { { 0x03, 1252 }, { 0x02, 850 }, { 0x01, 437 },
    { 0x04, 10000 }, { 0x64, 852 }, { 0x65, 866 }, { 0x69, 620 }, { 0x66, 865 }, { 0x67, 861 },
    { 0x6A, 737 }, { 0x6B, 857 }, { 0x6C, 863 }, { 0x7B, 932 }, { 0x7A, 936 }, { 0x79, 949 },
    { 0x78, 950 }, { 0x7C, 874 }, { 0x7D, 1255 }, { 0x7E, 1256 }, { 0x96, 10007 }, { 0x97, 10029 },
    { 0x98, 10006 }, { 0xC8, 1250 }, { 0xC9, 1251 }, { 0xCA, 1254 }, { 0xCB, 1253 }, { 0xCC, 1257 },
    { 0x57, 1252 }, { 0x58, 1252 }, { 0x59, 1252 }, { 0x08, 865 }, { 0x09, 437 }, { 0x0A, 850 },
    { 0x0B, 437 }, { 0x0D, 437 }, { 0x0E, 850 }, { 0x0F, 437 }, { 0x10, 850 }, { 0x11, 437 },
    { 0x12, 850 }, { 0x13, 932 }, { 0x14, 850 }, { 0x15, 437 }, { 0x16, 850 }, { 0x17, 865 },
    { 0x18, 437 }, { 0x19, 437 }, { 0x1A, 850 }, { 0x1B, 437 }, { 0x1C, 863 }, { 0x1D, 850 },
    { 0x1F, 852 }, { 0x22, 852 }, { 0x23, 852 }, { 0x24, 860 }, { 0x25, 850 }, { 0x26, 866 },
    { 0x37, 850 }, { 0x40, 852 }, { 0x4D, 936 }, { 0x4E, 949 }, { 0x4F, 950 }, { 0x50, 874 },
    { 0x6D, 1253 }, { 0x86, 737 }, { 0x87, 852 }, { 0x88, 857 } };

} // namespace

CodePage::CodePage()
    : m_number(1252)
    , m_tables(tablesFor(1252))
{ }

CodePage CodePage::fromNumber(int number)
{
    CodePage c;
    c.m_number = number;
    c.m_tables = tablesFor(number);
    return c;
}

CodePage CodePage::fromDbfLanguageId(unsigned char id)
{
    for (const LanguageId& l : LanguageIds)
        if (l.id == id)
            return fromNumber(l.codePage);
    return fromNumber(0);
}

unsigned char CodePage::dbfLanguageId() const
{
    for (const LanguageId& l : LanguageIds)
        if (l.codePage == m_number)
            return l.id;
    return 0;
}

QString CodePage::name() const
{
    const Known* k = known(m_number);
    return k ? QString::fromUtf8(k->display) : QStringLiteral("Codeseite %1").arg(m_number);
}

bool CodePage::appendUtf8(const char* data, qsizetype size, QByteArray& out) const
{
    if (!m_tables || !m_tables->singleByte)
        return false;
    const auto& table = m_tables->toUnicode;
    qsizetype at = out.size();
    out.resize(at + size * 3);
    char* o = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = table[static_cast<unsigned char>(data[i])];
        if (c < 0x80) {
            o[at++] = static_cast<char>(c);
        } else if (c < 0x800) {
            o[at++] = static_cast<char>(0xC0 | (c >> 6));
            o[at++] = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            o[at++] = static_cast<char>(0xE0 | (c >> 12));
            o[at++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            o[at++] = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    out.truncate(at);
    return true;
}

QString CodePage::decode(const char* data, qsizetype size) const
{
    if (!m_tables || size <= 0)
        return size > 0 ? QString::fromLatin1(data, size) : QString();
    if (m_tables->singleByte) {
        QString out(size, Qt::Uninitialized);
        QChar* o = out.data();
        const auto& table = m_tables->toUnicode;
        for (qsizetype i = 0; i < size; ++i)
            o[i] = QChar(table[static_cast<unsigned char>(data[i])]);
        return out;
    }
    UErrorCode status = U_ZERO_ERROR;
    UConverter* conv = ucnv_open(m_tables->icuName.toLatin1().constData(), &status);
    if (U_FAILURE(status))
        return QString::fromLatin1(data, size);
    QString out(size, Qt::Uninitialized);
    const int32_t n = ucnv_toUChars(conv, reinterpret_cast<UChar*>(out.data()),
        static_cast<int32_t>(out.size()), data, static_cast<int32_t>(size), &status);
    ucnv_close(conv);
    if (U_FAILURE(status))
        return QString::fromLatin1(data, size);
    out.truncate(n);
    return out;
}

QByteArray CodePage::encode(QStringView text, int* lost) const
{
    int missing = 0;
    QByteArray out;
    if (m_tables && !m_tables->singleByte) {
        UErrorCode status = U_ZERO_ERROR;
        UConverter* conv = ucnv_open(m_tables->icuName.toLatin1().constData(), &status);
        if (U_SUCCESS(status)) {
            for (qsizetype i = 0; i < text.size(); ++i) {
                const qsizetype len = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
                char buf[8];
                status = U_ZERO_ERROR;
                ucnv_setFromUCallBack(
                    conv, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
                const int32_t n = ucnv_fromUChars(conv, buf, sizeof buf,
                    reinterpret_cast<const UChar*>(text.data() + i), static_cast<int32_t>(len),
                    &status);
                if (U_FAILURE(status) || n <= 0) {
                    out.append('?');
                    ++missing;
                } else {
                    out.append(buf, n);
                }
                i += len - 1;
            }
            ucnv_close(conv);
        }
    } else if (m_tables) {
        out.resize(text.size());
        char* o = out.data();
        qsizetype j = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text[i].unicode();
            if (c < 0x80 && m_tables->toUnicode[c] == c) {
                o[j++] = static_cast<char>(c);
                continue;
            }
            const auto it = m_tables->fromUnicode.constFind(c);
            if (it != m_tables->fromUnicode.cend()) {
                o[j++] = static_cast<char>(it.value());
            } else {
                o[j++] = '?';
                ++missing;
                if (QChar::isHighSurrogate(c) && i + 1 < text.size())
                    ++i;
            }
        }
        out.truncate(j);
    } else {
        out = text.toLatin1();
    }
    if (lost)
        *lost = missing;
    return out;
}

bool CodePage::canEncode(QStringView text) const
{
    int lost = 0;
    encode(text, &lost);
    return lost == 0;
}

} // namespace kv::engine::isam
