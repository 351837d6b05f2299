#include "shell/Einstellungen.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace kv {

namespace {

QString& speicherordnerUeberschrieben()
{
    static QString ordner;
    return ordner;
}

QString schluesselPfad(const QString& abschnitt, const QString& schluessel)
{
    return abschnitt + QLatin1Char('/') + schluessel;
}

// A value edited by hand as a,b,c comes back from the INI reader as a list.
QString alsText(const QVariant& wert)
{
    if (wert.typeId() == QMetaType::QStringList)
        return wert.toStringList().join(QLatin1Char(','));
    return wert.toString();
}

} // namespace

std::optional<bool> boolAusText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || t == QLatin1String("-1")
        || t == QLatin1String("1"))
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 || t == QLatin1String("0"))
        return false;
    return std::nullopt;
}

QString boolText(bool wert)
{
    return wert ? QStringLiteral("True") : QStringLiteral("False");
}

Einstellungen::Einstellungen(const QString& anwendung)
    : m_anwendung(anwendung)
    , m_settings(std::make_unique<QSettings>(dateipfad(anwendung), QSettings::IniFormat))
{ }

Einstellungen::~Einstellungen() = default;

QString Einstellungen::lese(
    const QString& abschnitt, const QString& schluessel, const QString& vorgabe) const
{
    const QVariant wert = m_settings->value(schluesselPfad(abschnitt, schluessel));
    return wert.isValid() ? alsText(wert) : vorgabe;
}

void Einstellungen::schreibe(
    const QString& abschnitt, const QString& schluessel, const QString& wert)
{
    m_settings->setValue(schluesselPfad(abschnitt, schluessel), wert);
}

bool Einstellungen::enthaelt(const QString& abschnitt, const QString& schluessel) const
{
    return m_settings->contains(schluesselPfad(abschnitt, schluessel));
}

bool Einstellungen::leseBool(
    const QString& abschnitt, const QString& schluessel, bool vorgabe) const
{
    return boolAusText(lese(abschnitt, schluessel)).value_or(vorgabe);
}

void Einstellungen::schreibeBool(const QString& abschnitt, const QString& schluessel, bool wert)
{
    schreibe(abschnitt, schluessel, boolText(wert));
}

QList<QPair<QString, QString>> Einstellungen::leseAbschnitt(const QString& abschnitt) const
{
    QList<QPair<QString, QString>> paare;
    m_settings->beginGroup(abschnitt);
    const QStringList schluessel = m_settings->childKeys();
    for (const QString& s : schluessel)
        paare.append({ s, alsText(m_settings->value(s)) });
    m_settings->endGroup();
    return paare;
}

void Einstellungen::loesche(const QString& abschnitt, const QString& schluessel)
{
    m_settings->remove(schluessel.isEmpty() ? abschnitt : schluesselPfad(abschnitt, schluessel));
}

void Einstellungen::sichern()
{
    m_settings->sync();
}

QString Einstellungen::speicherordner()
{
    const QString& ordner = speicherordnerUeberschrieben();
    if (!ordner.isEmpty())
        return ordner;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Kelvado");
}

void Einstellungen::setzeSpeicherordner(const QString& ordner)
{
    speicherordnerUeberschrieben() = ordner;
}

QString Einstellungen::dateipfad(const QString& anwendung)
{
    return QDir(speicherordner()).filePath(anwendung + QStringLiteral(".ini"));
}

} // namespace kv
