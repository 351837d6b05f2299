#include "tables/FeldZeile.h"

#include "tables/EindeutigeNamen.h"

#include <QStringList>
#include <algorithm>
#include <climits>

namespace kv {

QString feldspaltentitel(Feldspalte spalte, bool zweizeilig)
{
    const QChar trenner = zweizeilig ? QLatin1Char('\n') : QLatin1Char(' ');
    switch (spalte) {
    case Feldspalte::Feldname:
        return QStringLiteral("Feldname");
    case Feldspalte::Typ:
        return QStringLiteral("Typ");
    case Feldspalte::Groesse:
        return QStringLiteral("Größe");
    case Feldspalte::Position:
        return QStringLiteral("Position");
    case Feldspalte::Feldgroesse:
        return QStringLiteral("Feldgröße");
    case Feldspalte::Automatikwert:
        return zweizeilig ? QStringLiteral("Automatik\nwert") : QStringLiteral("Automatikwert");
    case Feldspalte::WertErforderlich:
        return QStringLiteral("Wert") + trenner + QStringLiteral("erforderlich");
    case Feldspalte::NullwertErlaubt:
        return QStringLiteral("Nullwert") + trenner + QStringLiteral("erlaubt");
    case Feldspalte::Vorgabewert:
        return QStringLiteral("Vorgabewert");
    case Feldspalte::Pruefvorschrift:
        return QStringLiteral("Prüfvorschrift");
    case Feldspalte::Fehlertext:
        return QStringLiteral("Fehlertext");
    }
    return {};
}

void FeldZeile::setzeAttribute(int attribute)
{
    fix = (attribute & engine::dbFixedField) != 0;
    automatikwert = (attribute & engine::dbAutoIncrField) != 0;
}

std::optional<FeldZeile> neueFeldZeile(const QList<FeldZeile>& zeilen)
{
    QStringList namen;
    int hoechste = 0;
    for (const FeldZeile& z : zeilen) {
        namen.append(z.name);
        hoechste = qMax(hoechste, z.position);
    }
    const auto name = eindeutigerFeldname(QLatin1String(NeufeldBasis), namen);
    if (!name)
        return std::nullopt;
    FeldZeile zeile;
    zeile.name = *name;
    zeile.position = hoechste + 1;
    return zeile;
}

void typWechseln(FeldZeile& zeile, qint16 neuerTyp)
{
    zeile.typ = neuerTyp;
    if (const auto groesse = typgroesse(neuerTyp))
        zeile.groesse = *groesse;
    const bool textOderMemo = neuerTyp == engine::dbText || neuerTyp == engine::dbMemo;
    zeile.fix = !textOderMemo;
    if (!textOderMemo)
        zeile.nullwertErlaubt = false;
    if (neuerTyp != engine::dbLong)
        zeile.automatikwert = false;
}

bool spalteGesperrt(const FeldZeile& zeile, Feldspalte spalte)
{
    switch (spalte) {
    case Feldspalte::Groesse:
    case Feldspalte::Feldgroesse:
        return zeile.typ != engine::dbText;
    case Feldspalte::NullwertErlaubt:
        return zeile.typ != engine::dbText && zeile.typ != engine::dbMemo;
    case Feldspalte::Automatikwert:
        return zeile.typ != engine::dbLong || !zeile.neu;
    case Feldspalte::Pruefvorschrift:
    case Feldspalte::Fehlertext:
        return zeile.typ == engine::dbLongBinary;
    default:
        return false;
    }
}

namespace {

QString korrigieren(const QString& fehler)
{
    return fehler + QStringLiteral("\n\nBitte korrigieren Sie die Eingabe!");
}

std::optional<QString> pruefeLeereingabe(const QString& eingabe)
{
    if (!eingabe.trimmed().isEmpty())
        return std::nullopt;
    return QStringLiteral("Eine Leereingabe ist nicht zulässig!\n\n"
                          "Bitte ergänzen Sie die Eingabe!");
}

} // namespace

std::optional<int> leseGroesse(const QString& eingabe)
{
    const QString text = eingabe.trimmed();
    const bool vorzeichen = text.startsWith(QLatin1Char('+')) || text.startsWith(QLatin1Char('-'));
    const QStringView ziffern = QStringView(text).mid(vorzeichen ? 1 : 0);
    if (ziffern.isEmpty())
        return std::nullopt;
    for (const QChar c : ziffern) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    // Too many digits is a value out of range, not a non-number.
    bool ok = false;
    const qlonglong wert = text.toLongLong(&ok);
    if (!ok)
        return text.startsWith(QLatin1Char('-')) ? INT_MIN : INT_MAX;
    return static_cast<int>(std::clamp<qlonglong>(wert, INT_MIN, INT_MAX));
}

std::optional<QString> pruefeZelle(Feldspalte spalte, const QString& eingabe)
{
    switch (spalte) {
    case Feldspalte::Feldname:
        return pruefeLeereingabe(eingabe);
    case Feldspalte::Groesse: {
        if (auto leer = pruefeLeereingabe(eingabe))
            return leer;
        const auto groesse = leseGroesse(eingabe);
        if (!groesse)
            return korrigieren(QStringLiteral("Die Eingabe muss numerisch sein!"));
        if (*groesse < 0 || *groesse > 255)
            return korrigieren(
                QStringLiteral("Der numerische Wert muss zwischen 0 und 255 liegen!"));
        return std::nullopt;
    }
    case Feldspalte::Position:
        // A position is a whole number too; the engine orders by it, so any such number does.
        if (auto leer = pruefeLeereingabe(eingabe))
            return leer;
        if (!leseGroesse(eingabe))
            return korrigieren(QStringLiteral("Die Eingabe muss numerisch sein!"));
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

std::optional<QString> pruefeIndexname(const QString& eingabe)
{
    return pruefeLeereingabe(eingabe);
}

} // namespace kv
