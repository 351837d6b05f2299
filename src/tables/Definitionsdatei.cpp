#include "tables/Definitionsdatei.h"

#include "base/DefinitionsTitel.h"
#include "base/Pfade.h"

#include <QDir>
#include <QDirIterator>
#include <QSet>

namespace kv {

namespace {

const QLatin1String Trenner("_KELVAD_");
const QLatin1String OhneNamen("OhneNamen");
constexpr int OhneNamenHoechste = 9999;

/// The database's own prefix of its definition files' names, without folder.
QString praefix(const QString& datenbankpfad)
{
    return OhneEndung(datenbankpfad, false) + Trenner;
}

/// The definition name in the part after "_KELVAD_": cut before the extension.
QString ohneEndungImNamen(const QString& rest)
{
    const qsizetype punkt = rest.lastIndexOf(QLatin1Char('.'));
    return punkt < 0 ? rest : rest.left(punkt);
}

} // namespace

QString definitionsendung(Definitionsart art)
{
    return art == Definitionsart::Maske ? QStringLiteral(".MSK") : QStringLiteral(".TSK");
}

QString titelschluessel(Definitionsart art)
{
    return art == Definitionsart::Maske ? QStringLiteral("KV-Maske:")
                                        : QStringLiteral("KV-Tabelle:");
}

std::optional<QString> pruefeDefinitionsname(const QString& name)
{
    static const QString verboten = QStringLiteral("\\/:*?\"<>|");
    for (const QChar c : name) {
        if (verboten.contains(c) || c.category() == QChar::Other_Control)
            return QStringLiteral("Der Name darf keines der Zeichen \\ / : * ? \" < > | "
                                  "enthalten!\n\nBitte korrigieren Sie die Eingabe!");
    }
    return std::nullopt;
}

QString definitionsdateiname(const QString& datenbankpfad, const QString& name, Definitionsart art)
{
    // A separator in the name would put the file outside the database's folder.
    if (name.isEmpty() || pruefeDefinitionsname(name))
        return {};
    const QString endung = definitionsendung(art);
    QString datei = OhneEndung(datenbankpfad, true) + Trenner + name;
    if (!name.endsWith(endung, Qt::CaseInsensitive))
        datei += endung;
    return datei;
}

QString definitionsname(const QString& dateipfad, const QString& datenbankpfad)
{
    const QString datei = Dateiname(dateipfad);
    if (!datenbankpfad.isEmpty()) {
        const QString eigenes = praefix(datenbankpfad);
        if (datei.startsWith(eigenes, Qt::CaseInsensitive))
            return ohneEndungImNamen(datei.mid(eigenes.size()));
    }
    const qsizetype pos = datei.indexOf(Trenner, 0, Qt::CaseInsensitive);
    if (pos < 0)
        return {};
    return ohneEndungImNamen(datei.mid(pos + Trenner.size()));
}

QList<Definitionsdatei> definitionsdateien(const QString& datenbankpfad)
{
    QList<Definitionsdatei> dateien;
    const QString eigenes = praefix(datenbankpfad);
    const QString masken = definitionsendung(Definitionsart::Maske);
    const QString tabellen = definitionsendung(Definitionsart::Tabelle);
    // One pass over the folder; the name test is ours so that case and characters that a
    // wildcard pattern would take as special do not matter.
    QDirIterator it(Verzeichnis(datenbankpfad), QDir::Files | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString datei = it.fileName();
        if (!datei.startsWith(eigenes, Qt::CaseInsensitive))
            continue;
        Definitionsart art;
        if (datei.endsWith(masken, Qt::CaseInsensitive))
            art = Definitionsart::Maske;
        else if (datei.endsWith(tabellen, Qt::CaseInsensitive))
            art = Definitionsart::Tabelle;
        else
            continue;
        dateien.append({ it.filePath(), ohneEndungImNamen(datei.mid(eigenes.size())), art });
    }
    return dateien;
}

QList<Definitionsdatei> definitionsdateien(const QString& datenbankpfad, Definitionsart art)
{
    QList<Definitionsdatei> dateien = definitionsdateien(datenbankpfad);
    dateien.removeIf([art](const Definitionsdatei& d) { return d.art != art; });
    return dateien;
}

std::optional<QString> freierOhneNamenName(const QString& datenbankpfad, Definitionsart art)
{
    QSet<QString> belegt;
    for (const Definitionsdatei& d : definitionsdateien(datenbankpfad, art))
        belegt.insert(d.name.toCaseFolded());
    for (int nummer = 1; nummer <= OhneNamenHoechste; ++nummer) {
        const QString name = OhneNamen + QStringLiteral("%1").arg(nummer, 4, 10, QLatin1Char('0'));
        if (!belegt.contains(name.toCaseFolded()))
            return name;
    }
    return std::nullopt;
}

QString ohneNamenVergebenText(Definitionsart art)
{
    return QStringLiteral("Die Namen OhneNamen0001 bis OhneNamen9999 sind bereits alle "
                          "vergeben!\n\nBitte geben Sie %1 einen eigenen Namen.")
        .arg(art == Definitionsart::Maske ? QStringLiteral("der Maske")
                                          : QStringLiteral("der Tabelle"));
}

QString definitionstitel(const QString& dateipfad, Definitionsart art)
{
    return DefinitionsTitel(dateipfad, titelschluessel(art));
}

} // namespace kv
