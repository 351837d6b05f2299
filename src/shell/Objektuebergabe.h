#pragma once

#include <QString>

#include <functional>

namespace kv {

/// How the central navigator hands a database object to the window that shows or edits it. Each
/// receiving window installs its entry when it exists; the navigator tells the user when an entry
/// is still empty. For a standard row the definition text is empty and the name is the table name,
/// so the receiving window builds its standard layout from the table.
struct Objektuebergabe {
    using DefinitionOeffnen
        = std::function<void(const QString& name, const QString& definitionText)>;

    DefinitionOeffnen maske; ///< the mask window
    DefinitionOeffnen maskenGenerator; ///< the mask designer
    DefinitionOeffnen tabelle; ///< the table-view window
    DefinitionOeffnen tabellenGenerator; ///< the table-view designer
    /// The query window with a stored query; an empty name starts a new query. bearbeiten opens
    /// the query for editing rather than showing its rows.
    std::function<void(const QString& abfrage, bool bearbeiten)> abfrage;
    /// The plain text editor for a mask (maske true) or table-view definition file; returns
    /// when the editor is closed.
    std::function<void(
        bool maske, const QString& tabelle, const QString& definitionText, const QString& datei)>
        texteditor;
    /// The structure overview.
    std::function<void()> strukturGenerator;
};

/// The program's one hand-over table.
Objektuebergabe& objektuebergabe();

} // namespace kv
