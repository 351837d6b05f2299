#include "masks/ui/Elementfabrik.h"

#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "masks/Elementeinstellungen.h"
#include "masks/Listeninhalt.h"
#include "widgets/Ankreuzfeld.h"
#include "widgets/Anzeigefeld.h"
#include "widgets/Datumseingabe.h"
#include "widgets/Feldbild.h"
#include "widgets/Memoeingabe.h"
#include "widgets/Objektfeld.h"
#include "widgets/Optionsgruppe.h"
#include "widgets/Spaltenliste.h"
#include "widgets/Statikbild.h"
#include "widgets/Texteingabe.h"
#include "widgets/Zahleingabe.h"

namespace kv {

namespace {

/// The bound field of the record source; nullptr when it has none of that name.
engine::Field* feldVon(const Elementumgebung& u, const QString& name)
{
    if (!u.datensatz || name.trimmed().isEmpty())
        return nullptr;
    try {
        return &u.datensatz->field(name.trimmed());
    } catch (const engine::EngineError&) {
        return nullptr;
    }
}

/// Locked by the element, the mask, or a field that cannot be written.
bool schreibgeschuetzt(const Maskenelement& e, const Elementumgebung& u)
{
    if (e.gesperrt() || u.gesperrt)
        return true;
    const engine::Field* f = feldVon(u, e.datenfeld);
    return f && (!f->dataUpdatable() || f->isAutoIncrement());
}

template <class T> T* neu(const Maskenelement& e, QWidget* behaelter)
{
    auto* s = new T(behaelter);
    s->setzeDatenfeld(e.datenfeld.trimmed());
    return s;
}

} // namespace

Eingabefamilie familieVon(Maskenelementart art)
{
    switch (art) {
    case Maskenelementart::EingabeGanzzahl:
    case Maskenelementart::EingabeZahl:
        return Eingabefamilie::Zahl;
    case Maskenelementart::EingabeDatum:
        return Eingabefamilie::Datum;
    case Maskenelementart::EingabeCheckbox:
        return Eingabefamilie::Checkbox;
    case Maskenelementart::EingabeCombobox:
        return Eingabefamilie::Combobox;
    case Maskenelementart::EingabeOptionbox:
        return Eingabefamilie::Optionbox;
    default:
        return Eingabefamilie::Gebunden;
    }
}

Feldelement* schreibendesFeld(QWidget* steuerung, Maskenelementart art)
{
    switch (art) {
    case Maskenelementart::AnzeigeText:
    case Maskenelementart::AnzeigeStatikbild:
    case Maskenelementart::EingabeTabelle:
        return nullptr;
    default:
        return qobject_cast<Feldelement*>(steuerung);
    }
}

QWidget* erzeugeSteuerung(const Maskenelement& e, const Elementumgebung& u, QWidget* behaelter)
{
    using A = Maskenelementart;
    const engine::Field* feld = feldVon(u, e.datenfeld);
    Feldelement* s = nullptr;
    switch (e.art) {
    case A::EingabeText: {
        auto* t = neu<Texteingabe>(e, behaelter);
        t->setzeEinstellungen(TexteingabeEinstellungen::aus(e));
        if (feld && feld->type() == engine::dbText)
            t->setzeHoechstlaenge(feld->size());
        s = t;
        break;
    }
    case A::EingabeTextMemo: {
        auto* m = neu<Memoeingabe>(e, behaelter);
        m->setzeEinstellungen(TexteingabeEinstellungen::aus(e));
        if (feld && feld->type() == engine::dbText)
            m->setzeHoechstlaenge(feld->size());
        s = m;
        break;
    }
    case A::EingabeGanzzahl:
    case A::EingabeZahl: {
        auto* z = neu<Zahleingabe>(e, behaelter);
        z->setzeEinstellungen(ZahleingabeEinstellungen::aus(e), e.art == A::EingabeGanzzahl);
        s = z;
        break;
    }
    case A::EingabeDatum: {
        auto* d = neu<Datumseingabe>(e, behaelter);
        d->setzeEinstellungen(DatumeingabeEinstellungen::aus(e));
        s = d;
        break;
    }
    case A::EingabeCheckbox: {
        auto* c = neu<Ankreuzfeld>(e, behaelter);
        c->setzeEinstellungen(CheckboxEinstellungen::aus(e));
        s = c;
        break;
    }
    case A::EingabeOptionbox: {
        auto* o = neu<Optionsgruppe>(e, behaelter);
        o->setzeEinstellungen(OptionboxEinstellungen::aus(e));
        s = o;
        break;
    }
    case A::AnzeigeText: {
        auto* a = neu<Anzeigefeld>(e, behaelter);
        a->setzeEinstellungen(AnzeigetextEinstellungen::aus(e));
        a->setzeFarben(u.hintergrund, u.text);
        return a;
    }
    case A::AnzeigeBild: {
        auto* b = neu<Feldbild>(e, behaelter);
        b->setzeEinstellungen(BildEinstellungen::aus(e));
        s = b;
        break;
    }
    case A::AnzeigeStatikbild: {
        auto* b = new Statikbild(behaelter);
        b->setzeEinstellungen(StatikbildEinstellungen::aus(e), u.verzeichnis);
        return b;
    }
    case A::AnzeigeOLE: {
        auto* o = neu<Objektfeld>(e, behaelter);
        o->setzeEinstellungen(BildEinstellungen::aus(e));
        s = o;
        break;
    }
    case A::EingabeCombobox: {
        auto* l = neu<Spaltenliste>(e, behaelter);
        const ComboboxEinstellungen c = ComboboxEinstellungen::aus(e);
        const Listeninhalt inhalt = listeninhalt(u.db, c);
        ComboboxEinstellungen mitSpalten = c;
        mitSpalten.spalten = inhalt.spalten;
        l->setzeEinstellungen(mitSpalten);
        l->setzeZeilen(inhalt.zeilen, inhalt.spaltennamen);
        s = l;
        break;
    }
    case A::EingabeTabelle:
        return nullptr;
    }
    if (schreibgeschuetzt(e, u))
        s->setzeNurLesen(true);
    s->setzeFarben(u.hintergrund, u.text);
    return s;
}

} // namespace kv
