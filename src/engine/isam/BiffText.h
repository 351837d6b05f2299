#pragma once

#include "engine/isam/CodePage.h"

#include <QByteArrayView>
#include <QString>
#include <vector>

namespace kv::engine::isam {

/// Reads the strings of the binary Excel format from one record or from a record and its
/// CONTINUE records. A string's characters may be split between two records; the second part
/// then starts with its own flags byte saying whether it is stored in one or two bytes a
/// character. Reading past the last record throws DamagedInput.
class BiffText {
public:
    explicit BiffText(std::vector<QByteArrayView> segments);

    bool atEnd() const;
    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    void skip(qint64 count);

    /// A string of the 1997 and later format: lengthBytes (1 or 2) of character count, flags,
    /// rich-text runs and East Asian extras are skipped.
    QString unicode(int lengthBytes);
    /// A string of the older formats: lengthBytes of byte count, then the bytes in codePage.
    QString bytes(int lengthBytes, const CodePage& codePage);

private:
    qsizetype available() const;
    void nextSegment();

    std::vector<QByteArrayView> m_segments;
    size_t m_segment = 0;
    qsizetype m_at = 0;
};

} // namespace kv::engine::isam
