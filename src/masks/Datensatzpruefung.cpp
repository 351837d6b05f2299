#include "masks/Datensatzpruefung.h"

#include "base/Fehlermeldung.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "masks/Feldwert.h"

#include <algorithm>

namespace kv {

namespace {

/// The value an element writes, or nullopt when it cannot be one of the field.
std::optional<QVariant> zuSchreiben(const Elementwert& e, const engine::Field& feld)
{
    switch (e.familie) {
    case Eingabefamilie::Checkbox:
        return feldwert(QVariant(e.wert.isValid() && !e.wert.isNull() && e.wert.toBool()),
            feld.type(), feld.size());
    case Eingabefamilie::Combobox:
    case Eingabefamilie::Optionbox:
    case Eingabefamilie::Zahl:
    case Eingabefamilie::Datum:
        return feldwert(e.wert, feld.type(), feld.size());
    case Eingabefamilie::Gebunden:
        break;
    }
    // Text as typed: the field's own rules decide (a too long text is refused, not cut).
    if (e.wert.isNull() || !e.wert.isValid())
        return QVariant();
    if (e.wert.metaType().id() == QMetaType::QString)
        return engine::datatype::isTextType(feld.type()) ? e.wert
                                                         : feldwert(e.wert, feld.type(), 0);
    return e.wert;
}

} // namespace

Speicherergebnis schreibeWerte(engine::Recordset& datensatz, const QList<Elementwert>& werte)
{
    Speicherergebnis r;
    for (const Elementwert& e : werte) {
        if (!e.geaendert || e.datenfeld.isEmpty())
            continue;
        try {
            engine::Field& feld = datensatz.field(e.datenfeld);
            const std::optional<QVariant> wert = zuSchreiben(e, feld);
            if (!wert) {
                r.nichtGeschrieben.append(e.datenfeld);
                continue;
            }
            feld.setValue(*wert);
            r.geschrieben.append(e.element);
            // The user is told when the list gave more than the field holds.
            if (wert->metaType().id() == QMetaType::QString && e.wert.isValid()
                && wert->toString().size() < e.wert.toString().size())
                r.gekuerzt.append(e.datenfeld);
        } catch (const engine::EngineError&) {
            r.nichtGeschrieben.append(e.datenfeld);
        }
    }
    r.nichtGeschrieben.removeDuplicates();
    return r;
}

Speicherergebnis speichereDatensatz(engine::Recordset& datensatz, const QList<Elementwert>& werte)
{
    const bool geaendert = std::any_of(
        werte.cbegin(), werte.cend(), [](const Elementwert& e) { return e.geaendert; });
    if (!geaendert && datensatz.editMode() == engine::dbEditNone)
        return {};
    Speicherergebnis r;
    try {
        if (datensatz.editMode() == engine::dbEditNone)
            datensatz.edit();
        r = schreibeWerte(datensatz, werte);
        datensatz.update();
        r.gespeichert = true;
        const QByteArray zuletzt = datensatz.lastModified();
        if (!zuletzt.isEmpty())
            datensatz.setBookmark(zuletzt);
    } catch (const engine::EngineError& e) {
        r.ok = false;
        r.gespeichert = false;
        r.meldung = fehlermeldung(QStringLiteral("Fehler beim Aktualisieren der Daten!"),
            e.number(), e.description(), Fehlerkennung::Fehler);
    }
    return r;
}

QString hinweisNichtGeschrieben(const QStringList& felder)
{
    if (felder.isEmpty())
        return {};
    return (felder.size() == 1 ? QStringLiteral("Der Wert konnte nicht übernommen werden; das "
                                                "Feld behält seinen bisherigen Wert: ")
                               : QStringLiteral("Die Werte konnten nicht übernommen werden; die "
                                                "Felder behalten ihre bisherigen Werte: "))
        + felder.join(QStringLiteral(", "));
}

QString hinweisGekuerzt(const QStringList& felder)
{
    if (felder.isEmpty())
        return {};
    return QStringLiteral("Der Wert wurde auf die Feldgröße gekürzt: ")
        + felder.join(QStringLiteral(", "));
}

int loescheAlleZeilen(engine::Recordset& zeilen)
{
    int geloescht = 0;
    try {
        if (zeilen.bof() && zeilen.eof())
            return 0;
        zeilen.moveFirst();
    } catch (const engine::EngineError&) {
        return 0;
    }
    while (true) {
        try {
            if (zeilen.eof())
                break;
            zeilen.remove();
            ++geloescht;
        } catch (const engine::EngineError&) {
            // A row that cannot be deleted stays; the others go.
        }
        try {
            zeilen.moveNext();
        } catch (const engine::EngineError&) {
            break;
        }
    }
    return geloescht;
}

} // namespace kv
