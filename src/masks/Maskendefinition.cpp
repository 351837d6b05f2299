#include "masks/Maskendefinition.h"

#include "masks/Elementeinstellungen.h"
#include "masks/Systemfarben.h"

namespace kv {

QList<int> Maskendefinition::elementeDerArt(Maskenelementart art) const
{
    QList<int> indexe;
    for (int i = 0; i < elemente.size(); ++i) {
        if (elemente.at(i).art == art)
            indexe.append(i);
    }
    return indexe;
}

int Maskendefinition::reportTabellenelement() const
{
    int gefunden = -1;
    for (const int i : elementeDerArt(Maskenelementart::EingabeTabelle)) {
        if (TabellenelementEinstellungen::aus(elemente.at(i)).fuerReport)
            gefunden = i;
    }
    return gefunden;
}

Maskendefinition neueMaskendefinition()
{
    Maskendefinition d;
    d.farbeMaskeHintergrund = systemfarbe(SystemfarbeMaskeHintergrund);
    d.farbeMaskeText = systemfarbe(SystemfarbeMaskeText);
    d.farbeElementHintergrund = systemfarbe(SystemfarbeElementHintergrund);
    d.farbeElementText = systemfarbe(SystemfarbeElementText);
    return d;
}

} // namespace kv
