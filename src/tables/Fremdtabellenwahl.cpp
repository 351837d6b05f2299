#include "tables/Fremdtabellenwahl.h"

#include "base/Dialoge.h"
#include "base/Fehlermeldung.h"
#include "engine/Database.h"
#include "engine/Workspace.h"

#include <QFileInfo>

namespace kv {

std::optional<QString> waehleAndereDatenbank(
    const QString& titel, const QString& offeneDatenbank, const QString& startverzeichnis)
{
    DateiDialogOptionen o;
    o.titel = titel;
    o.filter = EigeneDatenbankFilter;
    o.startVerzeichnis = startverzeichnis;
    const DateiDialogErgebnis e = Dialoge::aktuell().dateiDialog(o);
    if (e.abgebrochen || e.pfad.isEmpty())
        return std::nullopt;
    if (!offeneDatenbank.isEmpty()
        && QFileInfo(e.pfad).absoluteFilePath() == QFileInfo(offeneDatenbank).absoluteFilePath()) {
        zeigeMeldung(QStringLiteral("Die gewählte Datenbank ist die aktuell geöffnete Datenbank!")
            + Zeilenumbruch + Zeilenumbruch
            + QStringLiteral("Bitte wählen Sie eine andere Datenbank aus."));
        return std::nullopt;
    }
    return e.pfad;
}

std::optional<QStringList> verknuepfbareTabellen(engine::Workspace& workspace, const QString& pfad)
{
    try {
        std::unique_ptr<engine::Database> db = workspace.openDatabase(pfad, false, true);
        QStringList namen;
        for (const engine::TableDef* t : db->tableDefs().items())
            if (!t->isSystem() && !t->isAttached())
                namen << t->name();
        db->close();
        return namen;
    } catch (const engine::EngineError& e) {
        zeigeFehler(QStringLiteral("Fehler beim Öffnen der zu verknüpfenden Datenbank"), e.number(),
            e.description(), Fehlerkennung::FehlerKompakt);
        return std::nullopt;
    }
}

} // namespace kv
