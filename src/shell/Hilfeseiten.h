#pragma once

#include <QString>

namespace kv::Hilfeseiten {

// The help page of each window of the shell (file names in resources/help); F1 shows it.
inline const QString Hauptfenster = QStringLiteral("hauptfenster.html");
inline const QString Datenzentrale = QStringLiteral("datenzentrale.html");
inline const QString Datenbank = QStringLiteral("datenbank.html");
inline const QString Sicherung = QStringLiteral("sicherung.html");
inline const QString Anpassen = QStringLiteral("anpassen.html");
inline const QString Tastenfolgen = QStringLiteral("tastenfolgen.html");
inline const QString WebUpdate = QStringLiteral("webupdate.html");
inline const QString Hilfe = QStringLiteral("hilfe.html");
inline const QString Tabellenansicht = QStringLiteral("tabellenansicht.html");
inline const QString TabellenGenerator = QStringLiteral("tabellengenerator.html");
// Sections of a page for the smaller dialogs.
inline const QString Texteditor = QStringLiteral("datenzentrale.html#texteditor");
inline const QString Tastatur = QStringLiteral("anpassen.html#tastatur");
inline const QString TexteAendern = QStringLiteral("anpassen.html#texte");
inline const QString Aktionsschutz = QStringLiteral("hauptfenster.html#aktionsschutz");

} // namespace kv::Hilfeseiten
