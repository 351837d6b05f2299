#pragma once

#include <QList>
#include <QString>
#include <memory>

class QTemporaryDir;

namespace kv::engine {

/// The files of foreign tables as they were before a statement or transaction wrote into them.
/// The drivers write straight into the files, which SQLite's rollback cannot reach; these copies
/// make the writes all-or-nothing: put back when the work fails, dropped when it succeeds.
class ForeignFileCopies {
public:
    ForeignFileCopies();
    ~ForeignFileCopies();
    ForeignFileCopies(const ForeignFileCopies&) = delete;
    ForeignFileCopies& operator=(const ForeignFileCopies&) = delete;

    /// Copies the files of table (every ending of that name in the folder) or the workbook,
    /// once per unit of work; a file that does not exist yet is removed again by putBack().
    /// Throws EngineError naming the file when a copy cannot be made.
    void keep(const QString& folderOrWorkbook, bool workbook, const QString& table);
    /// Puts every kept file back and removes the files made since; the copies are gone then.
    /// Returns the files that could not be put back (empty when all went well).
    QStringList putBack();
    /// The work succeeded: the copies are not needed any more.
    void drop();
    bool isEmpty() const { return m_places.isEmpty(); }

private:
    struct Place {
        QString folder;
        QString baseName; ///< table name, or the workbook's file name with its ending
        bool workbook = false;
        QStringList before; ///< the place's files when it was kept (absolute paths)
    };
    struct Copy {
        QString file;
        QString copy;
    };
    QStringList filesOf(const Place& p) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QList<Place> m_places;
    QList<Copy> m_copies;
};

} // namespace kv::engine
