#include "base/Formatabschnitte.h"

namespace kv::formatdetail {

QStringList teileAbschnitte(const QString& format)
{
    QStringList abschnitte;
    QString aktuell;
    qsizetype i = 0;
    while (i < format.size()) {
        const qsizetype anfang = i;
        QString literal;
        if (leseLiteral(format, i, literal)) {
            aktuell += QStringView(format).mid(anfang, i - anfang);
            continue;
        }
        if (format.at(i) == u';') {
            abschnitte.append(aktuell);
            aktuell.clear();
        } else {
            aktuell += format.at(i);
        }
        ++i;
    }
    abschnitte.append(aktuell);
    return abschnitte;
}

bool leseLiteral(const QString& format, qsizetype& i, QString& literal)
{
    const QChar c = format.at(i);
    if (c == u'\\') {
        if (i + 1 < format.size())
            literal += format.at(i + 1);
        i += 2;
        return true;
    }
    if (c == u'"') {
        const qsizetype ende = format.indexOf(u'"', i + 1);
        const qsizetype stop = ende < 0 ? format.size() : ende;
        literal += QStringView(format).mid(i + 1, stop - i - 1);
        i = ende < 0 ? format.size() : ende + 1;
        return true;
    }
    return false;
}

bool findeAusserhalbLiteralen(
    const QString& format, const std::function<bool(const QString&, qsizetype)>& treffer)
{
    qsizetype i = 0;
    QString literal;
    while (i < format.size()) {
        if (leseLiteral(format, i, literal))
            continue;
        if (treffer(format, i))
            return true;
        ++i;
    }
    return false;
}

} // namespace kv::formatdetail
