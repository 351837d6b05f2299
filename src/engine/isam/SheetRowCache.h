#pragma once

#include "engine/isam/SheetTable.h"

#include <QStringEncoder>

namespace kv::engine::isam {

/// A sheet source that keeps what its first full pass read in a temporary file, in a compact
/// binary form: the column types are only known after a scan of the whole sheet, and the
/// cursors that follow it read that file instead of unpacking and parsing the sheet again.
/// Without a usable temporary file every pass goes to the wrapped source, as before.
class SheetRowCache : public SheetSource {
public:
    explicit SheetRowCache(std::unique_ptr<SheetSource> source);
    ~SheetRowCache() override;

    void rewind() override;
    bool nextRow(int& row, QVector<SheetCell>& cells) override;
    std::unique_ptr<SheetSource> clone() const override;

    /// Whether the rows come from the temporary file now (for the tests).
    bool readsCopy() const { return m_reading; }

    struct Store;

private:
    SheetRowCache(std::unique_ptr<SheetSource> source, std::shared_ptr<Store> store);
    void record(int row, const QVector<SheetCell>& cells);
    bool writeOut();
    bool readRow(int& row, QVector<SheetCell>& cells);
    /// The next size bytes of the copy; null at its end.
    const char* take(qsizetype size);

    std::unique_ptr<SheetSource> m_source;
    std::shared_ptr<Store> m_store;
    bool m_recording = false;
    QByteArray m_out; ///< encoded rows not yet written
    QStringEncoder m_encoder { QStringEncoder::Utf8 };
    bool m_reading = false;
    qint64 m_readAt = 0; ///< where in the copy m_in ends
    QByteArray m_in;
    qsizetype m_pos = 0;
};

} // namespace kv::engine::isam
