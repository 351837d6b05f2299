#pragma once

#include <QByteArray>
#include <QStringList>

namespace kv::engine::isam {

/// The container of the binary Office files: sectors chained through an allocation table, a
/// mini stream for the small streams and a directory of named streams. Only reading; every
/// sector number is checked against the file and every chain against cycles, so a damaged
/// container throws DamagedInput instead of reading outside the file or looping.
class CompoundFile {
public:
    static bool hasSignature(const QByteArray& data);

    /// Reads header, allocation tables and directory of data (which must outlive this).
    explicit CompoundFile(const QByteArray& data);

    /// The names of the streams in the directory, in directory order.
    QStringList streamNames() const;
    /// The whole stream with this name (case-insensitive); empty QByteArray when there is none.
    QByteArray stream(const QString& name) const;

private:
    struct Entry {
        QString name;
        int type = 0;
        uint32_t start = 0;
        quint64 size = 0;
    };

    QByteArray chain(const std::vector<uint32_t>& table, uint32_t start, quint64 size,
        qsizetype sectorSize, bool mini) const;
    qsizetype sectorOffset(uint32_t sector) const;

    const QByteArray& m_data;
    qsizetype m_sectorSize = 512;
    qsizetype m_miniSectorSize = 64;
    quint32 m_miniCutoff = 4096;
    std::vector<uint32_t> m_fat;
    std::vector<uint32_t> m_miniFat;
    QByteArray m_miniStream;
    std::vector<Entry> m_entries;
};

} // namespace kv::engine::isam
