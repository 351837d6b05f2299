#pragma once

#include <QByteArray>
#include <QString>

namespace kv::engine::isam {

/// The first page of a Jet file as the old engine leaves it: most of it is hidden under a fixed
/// RC4 key, which plain() undoes.
class MdbHeader {
public:
    /// page: at least the first 0x80 bytes of the file.
    explicit MdbHeader(const QByteArray& page);

    int jetVersion() const; ///< 3 or 4
    /// The Windows code page its Jet 3 text is stored in (1252 for Western Europe).
    int codePage() const;
    /// The name iconv knows that code page by, "CP1252" when the header names none it knows.
    QByteArray iconvName() const;

    /// The database password, empty when there is none. Jet 3 keeps it in the clear (under the
    /// fixed key), Jet 4 as UCS-2 masked with the whole days of the file's creation date.
    QString password() const;

    /// The page with the hidden part in the clear.
    const QByteArray& plain() const { return m_plain; }

private:
    QByteArray m_plain;
};

} // namespace kv::engine::isam
