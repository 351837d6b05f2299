#pragma once

#include "tables/Definitionsdatei.h"

#include <QString>
#include <functional>

namespace kv {

/// The plain text editing of a mask or table-view definition file, without the window: the
/// short name and the whole text, the changed flag, saving under the definition naming and the
/// question when the editor closes with unsaved changes. Messages go through the dialog seam.
class StrukturtextBearbeitung {
public:
    /// definitionText empty: a new definition that starts with starttextDefinition(). datei:
    /// the file the text came from, empty for a new one. datenbankpfad: the open database,
    /// beside which new files are written.
    StrukturtextBearbeitung(bool maske, const QString& tabelle, const QString& definitionText,
        const QString& datei, const QString& datenbankpfad);

    Definitionsart art() const { return m_art; }
    /// "Maskenstruktur bearbeiten" or "Tabellenstruktur bearbeiten".
    QString titel() const;

    /// The short name (between "_KELVAD_" and the extension); empty for a new definition
    /// until it is saved.
    const QString& name() const { return m_name; }
    void setzeName(const QString& name);
    const QString& text() const { return m_text; }
    void setzeText(const QString& text);
    bool geaendert() const { return m_geaendert; }
    /// The file the text belongs to; empty until a new definition is saved.
    const QString& datei() const { return m_datei; }

    /// Writes the text unchanged under the name (an empty name gets the first free
    /// "OhneNamen" number). A name that is not the file's own and that names an existing file
    /// replaces it only after a question. Shows every failure; true when the file was written.
    bool speichern();
    /// With unsaved changes asks whether to save them: Yes saves (and stays open when that
    /// fails), No discards, Cancel stays. True when the editor may close.
    bool schliessenErlaubt();

private:
    QString zieldatei() const;

    Definitionsart m_art;
    QString m_datenbankpfad;
    QString m_datei;
    QString m_name;
    QString m_text;
    bool m_geaendert = false;
};

/// The question of an editor of a definition file that closes with unsaved changes ("Möchten
/// Sie die Änderungen in der Strukturdatei speichern?", Yes/No/Cancel): Yes saves and closes
/// when that worked, No closes, Cancel stays. True when the editor may close.
bool SchliessenNachFrage(bool geaendert, const std::function<bool()>& speichern);

} // namespace kv
