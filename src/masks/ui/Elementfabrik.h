#pragma once

#include "masks/Datensatzpruefung.h"
#include "masks/Maskenelement.h"

#include <QColor>
#include <QString>

class QWidget;

namespace kv {

namespace engine {
class Database;
class Recordset;
} // namespace engine

class Feldelement;

/// What the controls of a mask's elements are made with.
struct Elementumgebung {
    engine::Database* db = nullptr;
    /// The record source; null when it could not be opened.
    engine::Recordset* datensatz = nullptr;
    /// Where relative picture files are looked for (the database's folder).
    QString verzeichnis;
    /// The whole mask is read-only.
    bool gesperrt = false;
    QColor hintergrund;
    QColor text;
};

/// The control of one element (all kinds but "EingabeTabelle"), configured by its settings:
/// text inputs limited to the field's size, inputs read-only when the element or the mask is
/// locked or the field cannot be written (an auto-increment or computed field), lists filled
/// from their statement or fixed values, static pictures loaded. A check box shows its caption
/// itself. The control is a child of behaelter and not yet placed.
QWidget* erzeugeSteuerung(const Maskenelement& e, const Elementumgebung& u, QWidget* behaelter);

/// How an element's value reaches its field (see Eingabefamilie).
Eingabefamilie familieVon(Maskenelementart art);

/// The bound control of a kind that writes its field; nullptr for display texts, pictures from
/// files and grids.
Feldelement* schreibendesFeld(QWidget* steuerung, Maskenelementart art);

} // namespace kv
