#pragma once

#include <QString>
#include <QTemporaryDir>

namespace kv::test {

/// A fresh folder for one test's files; removed when the object goes.
class TempDir {
public:
    TempDir() { Q_ASSERT(m_dir.isValid()); }
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

/// Folder of the shared test data made by other software.
QString testdataDir();

} // namespace kv::test
