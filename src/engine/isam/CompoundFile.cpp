#include "engine/isam/CompoundFile.h"

#include "engine/isam/LittleEndian.h"

#include <vector>

namespace kv::engine::isam {

namespace {

constexpr uint32_t EndOfChain = 0xFFFFFFFE;
constexpr uint32_t FreeSector = 0xFFFFFFFF;
constexpr uint32_t MaxRegularSector = 0xFFFFFFFA;
constexpr char Signature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

[[noreturn]] void damaged(const char* reason)
{
    throw DamagedInput { QString::fromUtf8(reason) };
}

} // namespace

bool CompoundFile::hasSignature(const QByteArray& data)
{
    return data.startsWith(QByteArray::fromRawData(Signature, 8));
}

qsizetype CompoundFile::sectorOffset(uint32_t sector) const
{
    // Sector 0 follows the header, which occupies one sector of the file's size.
    const qint64 offset = (qint64(sector) + 1) * m_sectorSize;
    if (sector > MaxRegularSector || offset + m_sectorSize > m_data.size()) {
        // The last sector may be cut short by writers that do not pad the file.
        if (sector <= MaxRegularSector && offset < m_data.size())
            return offset;
        damaged("ein Sektor liegt außerhalb der Datei");
    }
    return offset;
}

CompoundFile::CompoundFile(const QByteArray& data)
    : m_data(data)
{
    const LittleEndian h(data);
    if (!hasSignature(data) || data.size() < 512)
        damaged("kein gültiger Dateikopf");
    const int shift = h.u16(0x1E);
    const int miniShift = h.u16(0x20);
    if ((shift != 9 && shift != 12) || miniShift != 6)
        damaged("ungültige Sektorgröße");
    m_sectorSize = qsizetype(1) << shift;
    m_miniSectorSize = qsizetype(1) << miniShift;
    m_miniCutoff = h.u32(0x38);
    const uint32_t fatSectors = h.u32(0x2C);
    const uint32_t firstDir = h.u32(0x30);
    const uint32_t firstMiniFat = h.u32(0x3C);
    uint32_t difatSector = h.u32(0x44);
    const uint32_t difatCount = h.u32(0x48);
    const qint64 sectorsInFile = data.size() / m_sectorSize;
    if (fatSectors > sectorsInFile || difatCount > sectorsInFile)
        damaged("die Zuordnungstabelle ist größer als die Datei");

    // The allocation table's own sectors: 109 in the header, the rest in a chain of DIFAT
    // sectors whose last entry points to the next one.
    std::vector<uint32_t> fatList;
    for (int i = 0; i < 109 && fatList.size() < fatSectors; ++i)
        fatList.push_back(h.u32(0x4C + 4 * i));
    const qsizetype perSector = m_sectorSize / 4;
    for (uint32_t n = 0; fatList.size() < fatSectors; ++n) {
        if (n >= difatCount || difatSector > MaxRegularSector)
            damaged("die Zuordnungstabelle ist unvollständig");
        const LittleEndian s(data.constData() + sectorOffset(difatSector),
            std::min<qsizetype>(m_sectorSize, data.size() - sectorOffset(difatSector)));
        for (qsizetype i = 0; i < perSector - 1 && fatList.size() < fatSectors; ++i)
            fatList.push_back(s.u32(4 * i));
        difatSector = s.u32(4 * (perSector - 1));
    }
    m_fat.reserve(fatList.size() * perSector);
    for (uint32_t sector : fatList) {
        const qsizetype at = sectorOffset(sector);
        const LittleEndian s(data.constData() + at, std::min(m_sectorSize, data.size() - at));
        for (qsizetype i = 0; i < perSector; ++i)
            m_fat.push_back(s.has(4 * i, 4) ? s.u32(4 * i) : FreeSector);
    }

    const QByteArray dir = chain(m_fat, firstDir, 0, m_sectorSize, false);
    const LittleEndian d(dir);
    for (qsizetype at = 0; at + 128 <= dir.size(); at += 128) {
        Entry e;
        const int nameBytes = std::min<int>(d.u16(at + 0x40), 64);
        const int chars = std::max(0, nameBytes / 2 - 1);
        e.name = QString::fromUtf16(reinterpret_cast<const char16_t*>(dir.constData() + at), chars);
        e.type = d.u8(at + 0x42);
        e.start = d.u32(at + 0x74);
        e.size = d.u32(at + 0x78);
        // Version 3 files may leave garbage in the high half of the size.
        if (shift == 12)
            e.size |= quint64(d.u32(at + 0x7C)) << 32;
        m_entries.push_back(e);
    }
    if (m_entries.empty() || m_entries.front().type != 5)
        damaged("das Inhaltsverzeichnis fehlt");

    if (firstMiniFat <= MaxRegularSector) {
        const QByteArray miniFat = chain(m_fat, firstMiniFat, 0, m_sectorSize, false);
        const LittleEndian m(miniFat);
        for (qsizetype i = 0; i + 4 <= miniFat.size(); i += 4)
            m_miniFat.push_back(m.u32(i));
    }
    const Entry& root = m_entries.front();
    if (root.start <= MaxRegularSector && root.size > 0)
        m_miniStream = chain(m_fat, root.start, root.size, m_sectorSize, false);
}

QByteArray CompoundFile::chain(const std::vector<uint32_t>& table, uint32_t start, quint64 size,
    qsizetype sectorSize, bool mini) const
{
    // size 0: the whole chain (directory, mini allocation table).
    if (size > quint64(mini ? m_miniStream.size() : m_data.size()))
        damaged("ein Datenstrom ist größer als die Datei");
    QByteArray out;
    std::vector<bool> seen(table.size());
    uint32_t sector = start;
    while (size == 0 || quint64(out.size()) < size) {
        if (sector == EndOfChain && size == 0)
            break;
        if (sector >= table.size())
            damaged("eine Sektorkette ist unterbrochen");
        if (seen[sector])
            damaged("eine Sektorkette enthält einen Zyklus");
        seen[sector] = true;
        if (mini) {
            const qsizetype at = qsizetype(sector) * sectorSize;
            if (at + sectorSize > m_miniStream.size())
                damaged("ein Sektor liegt außerhalb der Datei");
            out.append(m_miniStream.constData() + at, sectorSize);
        } else {
            const qsizetype at = sectorOffset(sector);
            out.append(m_data.constData() + at, std::min(sectorSize, m_data.size() - at));
        }
        sector = table[sector];
    }
    if (size > 0)
        out.truncate(static_cast<qsizetype>(size));
    return out;
}

QStringList CompoundFile::streamNames() const
{
    QStringList names;
    for (const Entry& e : m_entries)
        if (e.type == 2)
            names.append(e.name);
    return names;
}

QByteArray CompoundFile::stream(const QString& name) const
{
    for (const Entry& e : m_entries) {
        if (e.type != 2 || e.name.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (e.size == 0)
            return QByteArray("", 0);
        if (e.size < m_miniCutoff)
            return chain(m_miniFat, e.start, e.size, m_miniSectorSize, true);
        return chain(m_fat, e.start, e.size, m_sectorSize, false);
    }
    return {};
}

} // namespace kv::engine::isam
