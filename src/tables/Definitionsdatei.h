#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace kv {

// User-defined masks and table views are files beside the database, named database file name
// without extension + "_KELVAD_" + definition name + ".MSK" or ".TSK".

enum class Definitionsart { Maske, Tabelle };

/// ".MSK" or ".TSK".
QString definitionsendung(Definitionsart art);
/// "KV-Maske:" or "KV-Tabelle:", the keyword before the title on the first line.
QString titelschluessel(Definitionsart art);

/// One definition file found beside a database.
struct Definitionsdatei {
    QString pfad;
    QString name;
    Definitionsart art = Definitionsart::Maske;
};

/// The file of definition name beside the database; the extension is appended unless the name
/// already ends with it (ignoring case). Empty for an empty name (see freierOhneNamenName) and
/// for a name that cannot be a file name (see pruefeDefinitionsname).
QString definitionsdateiname(const QString& datenbankpfad, const QString& name, Definitionsart art);

/// The definition name in a file name: the part between "_KELVAD_" and the extension. With the
/// database's path the database's own prefix is removed, so that a "_KELVAD_" inside the
/// database name does not count. Empty when the file name has no "_KELVAD_".
QString definitionsname(const QString& dateipfad, const QString& datenbankpfad = QString());

/// Message when name holds a character that file names cannot carry.
std::optional<QString> pruefeDefinitionsname(const QString& name);

/// "OhneNamen" + the first four-digit number from 0001 for which no definition file of this
/// kind exists; nullopt when all up to 9999 are taken (show ohneNamenVergebenText then).
std::optional<QString> freierOhneNamenName(const QString& datenbankpfad, Definitionsart art);

QString ohneNamenVergebenText(Definitionsart art);

/// Title from the file's first line (the texts of DefinitionsTitel when there is none).
QString definitionstitel(const QString& dateipfad, Definitionsart art);

/// The definition files of this database in its folder, both kinds, in directory order. Names
/// and extensions are matched ignoring case; other databases' files are left out.
QList<Definitionsdatei> definitionsdateien(const QString& datenbankpfad);
QList<Definitionsdatei> definitionsdateien(const QString& datenbankpfad, Definitionsart art);

} // namespace kv
