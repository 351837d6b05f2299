#include "shell/IniDatei.h"

#include "base/Programmverzeichnis.h"
#include "base/Windows1252.h"
#include "shell/Einstellungen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace kv {

namespace {

QString ohneAnfuehrung(const QString& wert)
{
    if (wert.size() >= 2) {
        const QChar a = wert.front();
        if ((a == u'"' || a == u'\'') && wert.back() == a)
            return wert.mid(1, wert.size() - 2);
    }
    return wert;
}

QString leseText(const QString& pfad)
{
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = datei.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    return ausWindows1252(bytes);
}

} // namespace

IniDatei::IniDatei(const QString& pfad)
{
    const QString text = leseText(pfad);
    QHash<QString, QString>* abschnitt = nullptr;
    bool abschnittNeu = false;
    for (const QStringView roh : QStringView(text).split(QLatin1Char('\n'))) {
        const QStringView zeile = roh.trimmed();
        if (zeile.startsWith(u'[')) {
            const qsizetype ende = zeile.indexOf(u']');
            const QString name = (ende < 0 ? zeile.mid(1) : zeile.mid(1, ende - 1))
                                     .trimmed()
                                     .toString()
                                     .toCaseFolded();
            // A repeated section is ignored: the first one answers.
            abschnittNeu = !m_abschnitte.contains(name);
            abschnitt = &m_abschnitte[name];
            continue;
        }
        const qsizetype gleich = zeile.indexOf(u'=');
        if (!abschnitt || !abschnittNeu || gleich <= 0)
            continue;
        const QString schluessel = zeile.left(gleich).trimmed().toString().toCaseFolded();
        if (!abschnitt->contains(schluessel))
            abschnitt->insert(
                schluessel, ohneAnfuehrung(zeile.mid(gleich + 1).trimmed().toString()));
    }
}

std::optional<QString> IniDatei::wert(const QString& abschnitt, const QString& schluessel) const
{
    const auto a = m_abschnitte.constFind(abschnitt.trimmed().toCaseFolded());
    if (a == m_abschnitte.constEnd())
        return std::nullopt;
    const auto w = a->constFind(schluessel.trimmed().toCaseFolded());
    if (w == a->constEnd())
        return std::nullopt;
    return w->left(MaxLaenge);
}

QString IniDateiPfad()
{
    return Programmverzeichnis() + QStringLiteral("KELVAD.INI");
}

QString BenutzerIniPfad(const QString& installationsPfad)
{
    return QDir(Einstellungen::speicherordner()).filePath(QFileInfo(installationsPfad).fileName());
}

std::optional<QString> IniWert(
    const QString& installationsPfad, const QString& abschnitt, const QString& schluessel)
{
    if (std::optional<QString> eigen
        = IniDatei(BenutzerIniPfad(installationsPfad)).wert(abschnitt, schluessel))
        return eigen;
    return IniDatei(installationsPfad).wert(abschnitt, schluessel);
}

bool SchreibeBenutzerIniWert(const QString& installationsPfad, const QString& abschnitt,
    const QString& schluessel, const QString& wert)
{
    const QString pfad = BenutzerIniPfad(installationsPfad);
    QDir().mkpath(QFileInfo(pfad).path());
    return SchreibeIniWert(pfad, abschnitt, schluessel, wert);
}

QString LeseIniWert(const QString& abschnitt, const QString& schluessel, const QString& vorgabe)
{
    return IniWert(IniDateiPfad(), abschnitt, schluessel).value_or(vorgabe);
}

bool SchreibeIniWert(
    const QString& pfad, const QString& abschnitt, const QString& schluessel, const QString& wert)
{
    QStringList zeilen = leseText(pfad).split(QLatin1Char('\n'));
    for (QString& z : zeilen)
        if (z.endsWith(u'\r'))
            z.chop(1);
    if (!zeilen.isEmpty() && zeilen.back().isEmpty())
        zeilen.removeLast();
    const QString neueZeile = schluessel + u'=' + wert;
    const QString gesuchterAbschnitt = abschnitt.trimmed().toCaseFolded();
    const QString gesuchterSchluessel = schluessel.trimmed().toCaseFolded();
    qsizetype einfuegen = -1;
    bool imAbschnitt = false;
    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        const QString zeile = zeilen[i].trimmed();
        if (zeile.startsWith(u'[')) {
            if (imAbschnitt)
                break;
            const qsizetype ende = zeile.indexOf(u']');
            imAbschnitt
                = (ende < 0 ? zeile.mid(1) : zeile.mid(1, ende - 1)).trimmed().toCaseFolded()
                == gesuchterAbschnitt;
            if (imAbschnitt)
                einfuegen = i + 1;
            continue;
        }
        if (!imAbschnitt)
            continue;
        const qsizetype gleich = zeile.indexOf(u'=');
        if (gleich > 0 && zeile.left(gleich).trimmed().toCaseFolded() == gesuchterSchluessel) {
            zeilen[i] = neueZeile;
            return schreibeTextdatei(
                pfad, zeilen.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
        }
        if (!zeile.isEmpty())
            einfuegen = i + 1;
    }
    if (einfuegen < 0) {
        if (!zeilen.isEmpty() && !zeilen.back().trimmed().isEmpty())
            zeilen.append(QString());
        zeilen.append(u'[' + abschnitt + u']');
        zeilen.append(neueZeile);
    } else {
        zeilen.insert(einfuegen, neueZeile);
    }
    return schreibeTextdatei(pfad, zeilen.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

} // namespace kv
