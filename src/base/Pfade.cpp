#include "base/Pfade.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kv {

namespace {
bool istTrenner(QChar c)
{
    return c == u'/' || c == u'\\';
}

/// Index of the last split point, or -1.
qsizetype letzterTrenner(const QString& pfad)
{
    for (qsizetype i = pfad.size() - 1; i >= 0; --i) {
        if (istTrenner(pfad.at(i)))
            return i;
    }
    if (pfad.size() >= 2 && pfad.at(1) == u':' && pfad.at(0).isLetter())
        return 1;
    return -1;
}
} // namespace

QString MitBackslash(const QString& pfad)
{
    if (!pfad.isEmpty() && istTrenner(pfad.back()))
        return pfad;
    return pfad + QDir::separator();
}

QString Verzeichnis(const QString& pfad, const QString& fallback)
{
    const qsizetype pos = letzterTrenner(pfad);
    if (pos >= 0)
        return MitBackslash(pfad.left(pos + 1));
    if (!fallback.isEmpty())
        return MitBackslash(fallback);
    return MitBackslash(QCoreApplication::applicationDirPath());
}

QString Dateiname(const QString& pfad)
{
    return pfad.mid(letzterTrenner(pfad) + 1);
}

QString OhneEndung(const QString& pfad, bool mitVerzeichnis)
{
    const qsizetype nameAnfang = letzterTrenner(pfad) + 1;
    const qsizetype punkt = pfad.lastIndexOf(u'.');
    const qsizetype ende = punkt >= nameAnfang ? punkt : pfad.size();
    return mitVerzeichnis ? pfad.left(ende) : pfad.mid(nameAnfang, ende - nameAnfang);
}

bool DateiVorhanden(const QString& pfad)
{
    if (pfad.isEmpty())
        return false;
    const QFileInfo info(pfad);
    return info.exists() && !info.isDir();
}

} // namespace kv
