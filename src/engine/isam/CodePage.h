#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

namespace kv::engine::isam {

/// A text code page of the foreign formats (Windows and DOS code pages, Mac Roman, the East
/// Asian double-byte ones). Copies are cheap; the tables are built once per process.
class CodePage {
public:
    CodePage(); ///< Windows-1252
    /// The code page with this Windows number (1252, 850, 437, 866, 936, 10000, …); an unknown
    /// number gives an invalid code page.
    static CodePage fromNumber(int number);
    /// The code page a dBASE/FoxPro language byte names; invalid for 0 and unknown bytes.
    static CodePage fromDbfLanguageId(unsigned char id);
    /// The language byte a dBASE/FoxPro writer stores for this code page (0 when none).
    unsigned char dbfLanguageId() const;

    bool isValid() const { return m_tables != nullptr; }
    int number() const { return m_number; }
    /// Display name, e.g. "Windows-1252", "DOS 850".
    QString name() const;

    QString decode(const char* data, qsizetype size) const;
    QString decode(const QByteArray& bytes) const
    {
        return decode(bytes.constData(), bytes.size());
    }
    /// Appends the bytes as UTF-8, as decode(…).toUtf8() would give them; false (and nothing
    /// appended) for the multi-byte code pages, which only decode() handles.
    bool appendUtf8(const char* data, qsizetype size, QByteArray& out) const;
    /// Encodes text; characters the code page lacks become "?" and are counted in lost.
    QByteArray encode(QStringView text, int* lost = nullptr) const;
    /// True when every character of text exists in the code page.
    bool canEncode(QStringView text) const;

    struct Tables;

private:
    int m_number = 0;
    std::shared_ptr<const Tables> m_tables;
};

} // namespace kv::engine::isam
