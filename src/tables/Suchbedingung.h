#pragma once

#include <QString>
#include <array>

namespace kv {

/// The search state of a runtime window (table view, mask) and of the global change: what the
/// last F3 search produced, kept so that the dialog reopens with the previous inputs.
struct F3Suchzustand {
    /// 0 no search active, 1 full-text, 2 from/to, 3 selection search.
    qint16 SuchArt = 0;
    /// The user confirmed the last dialog.
    bool Aktiv = false;
    /// The raw inputs per kind, Eingabe[0] for kind 1 and so on.
    std::array<QString, 3> Eingabe;
    /// The condition of the last confirmed search (without the word WHERE).
    QString SQL;

    /// A search narrows the window's records.
    bool inKraft() const { return SuchArt != 0 && !SQL.trimmed().isEmpty(); }
};

/// Puts a condition into a source statement: the statement keeps its own WHERE condition, which
/// the new one narrows ("WHERE (alt) AND (neu)"), and its ORDER BY stays at the end; a condition
/// goes before GROUP BY and HAVING. Clauses are found by the dialect's tokenizer at the outermost
/// level, so literals, bracketed names and subqueries never count. An empty condition returns
/// the statement unchanged; a closing ";" is dropped.
QString BedingungEinsetzen(const QString& sql, const QString& bedingung);

/// The condition a window applies: the F3 condition and the search-row condition joined as
/// "(F3) And Suchzeile", or the one that exists; empty when neither does.
QString Gesamtbedingung(const QString& f3Bedingung, const QString& suchzeilenbedingung);

} // namespace kv
