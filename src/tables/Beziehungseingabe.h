#pragma once

#include "engine/Relation.h"

#include <QList>
#include <QString>

namespace kv::engine {
class Database;
}

namespace kv {

/// The join choice of a relation for queries.
enum class Verknuepfungstyp {
    /// "Nur Daten, in denen Felder aus beiden Tabellen übereinstimmen"
    Innen,
    /// "Alle Basisdaten und nur Fremddaten, in denen verknüpfte Felder übereinstimmen"
    Links,
    /// "Alle Fremddaten und nur Basisdaten, in den verknüpfte Felder übereinstimmen"
    Rechts,
};

/// What the relation dialog shows and saves: one field pair, the kind, the join and the
/// integrity rules. A relation with more than one field pair keeps its further pairs as long as
/// both of its tables stay the same.
struct Beziehungseingabe {
    QString name;
    QString basistabelle;
    QString basisfeld;
    QString fremdtabelle;
    QString fremdfeld;
    bool einsZuEins = false;
    Verknuepfungstyp verknuepfung = Verknuepfungstyp::Innen;
    bool erzwingen = false;
    bool aenderungsweitergabe = false;
    bool loeschweitergabe = false;
    bool uebernommen = false;

    /// The pairs after the first of the relation that was loaded, and its tables.
    QList<engine::RelationField> weiterePaare;
    QString geladeneBasistabelle;
    QString geladeneFremdtabelle;

    static Beziehungseingabe aus(const engine::Relation& relation);

    /// The engine's attribute flags for the choices.
    qint64 attribute() const;
    /// The field pairs saved: the shown pair, then the further pairs while the tables are those
    /// of the loaded relation.
    QList<engine::RelationField> paare() const;
    /// Saving needs a name, both tables and both fields.
    bool vollstaendig() const;
};

/// Saves the relation inside one transaction: the old relation alterName (empty for a new one)
/// is deleted and the new one appended; on any failure the transaction is rolled back, so that
/// the old relation stays, and the step's message is shown. True when saved.
bool speichereBeziehung(
    engine::Database& db, const Beziehungseingabe& eingabe, const QString& alterName);

} // namespace kv
