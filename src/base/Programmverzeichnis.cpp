#include "base/Programmverzeichnis.h"

#include "base/Fehlermeldung.h"
#include "base/Pfade.h"

#include <QCoreApplication>

namespace kv {

namespace {

QString& gesetztesVerzeichnis()
{
    static QString verzeichnis;
    return verzeichnis;
}

} // namespace

QString Programmverzeichnis()
{
    const QString& gesetzt = gesetztesVerzeichnis();
    if (!gesetzt.isEmpty())
        return gesetzt;
    return MitBackslash(QCoreApplication::applicationDirPath());
}

void setzeProgrammverzeichnis(const QString& verzeichnis)
{
    gesetztesVerzeichnis() = verzeichnis.isEmpty() ? QString() : MitBackslash(verzeichnis);
}

QString Grafikverzeichnis()
{
    return MitBackslash(Programmverzeichnis() + QStringLiteral("Grafik"));
}

bool grafikVorhanden(const QString& verzeichnis)
{
    return DateiVorhanden(MitBackslash(MitBackslash(verzeichnis) + QStringLiteral("Grafik"))
        + QStringLiteral("Abbruch16.ico"));
}

QString pruefeGrafikverzeichnis(const QString& installationsverzeichnis, const QString& aufrufpfad)
{
    if (grafikVorhanden(Programmverzeichnis()))
        return {};
    if (!installationsverzeichnis.isEmpty() && grafikVorhanden(installationsverzeichnis)) {
        setzeProgrammverzeichnis(installationsverzeichnis);
        return {};
    }
    const QChar z = Zeilenumbruch;
    return QStringLiteral("Achtung! Der Zugriff auf die Grafiksymbole ist nicht möglich.") + z + z
        + QStringLiteral("Falls der Programmaufruf nicht von dem bei der Installation angegebenen "
                         "Verzeichnis")
        + z
        + QStringLiteral("erfolgt, sollte der Aufruf von dort vorgenommen werden, da sonst die "
                         "Symbole")
        + z + QStringLiteral("und auch diverse Zusatzdateien nicht zur Verfügung stehen.") + z
        + QStringLiteral("Im Zweifel sollte das Programm einmal neu installiert werden, damit die")
        + z
        + QStringLiteral("Menüdarstellung, Druckausgaben etc. wieder ordnungsgemäß funktionieren.")
        + z + z + QStringLiteral("Der momentane Aufrufpfad ist: ") + aufrufpfad;
}

} // namespace kv
