#include "tables/Fremdtabellenwahl.h"

#include "base/Dialoge.h"
#include "base/Fehlermeldung.h"
#include "engine/Database.h"
#include "engine/ForeignTableSource.h"
#include "engine/Workspace.h"
#include "engine/isam/IsamError.h"
#include "tables/Datenaustausch.h"

#include <QDir>

#include <QFileInfo>

namespace kv {

namespace {

/// The file dialog's answer, refused when it names the open database.
std::optional<DateiDialogErgebnis> frageDatei(const QString& titel, const QString& filter,
    const QString& startverzeichnis, const QString& offeneDatenbank, int filterIndex = 1,
    bool speichern = false)
{
    DateiDialogOptionen o;
    o.titel = titel;
    o.filter = filter;
    o.filterIndex = filterIndex;
    o.startVerzeichnis = startverzeichnis;
    o.speichern = speichern;
    o.ueberschreibenFragen = !speichern;
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
    return e;
}

} // namespace

std::optional<QString> waehleAndereDatenbank(
    const QString& titel, const QString& offeneDatenbank, const QString& startverzeichnis)
{
    const std::optional<DateiDialogErgebnis> e
        = frageDatei(titel, EigeneDatenbankFilter, startverzeichnis, offeneDatenbank);
    return e ? std::optional<QString>(e->pfad) : std::nullopt;
}

std::optional<AndereDatei> waehleAndereDatei(const QString& titel, const QString& offeneDatenbank,
    const QString& startverzeichnis, int vorgabe, bool speichern)
{
    // An export may name a file that does not exist yet; it is not overwritten but added to.
    const std::optional<DateiDialogErgebnis> e = frageDatei(
        titel, Austauschfilter(), startverzeichnis, offeneDatenbank, vorgabe + 1, speichern);
    if (!e)
        return std::nullopt;
    return AndereDatei { e->pfad,
        e->filterIndex >= 1 && e->filterIndex <= 14 ? e->filterIndex - 1 : 0 };
}

QString Verbindungstext(int formatIndex, const QString& pfad)
{
    if (formatIndex <= 0)
        return QStringLiteral(";DATABASE=") + pfad + QLatin1Char(';');
    const QString ort = IstArbeitsmappe(formatIndex)
        ? pfad
        : QDir::toNativeSeparators(QFileInfo(pfad).absolutePath()) + QDir::separator();
    return Austauschpraefix(formatIndex) + QStringLiteral("DATABASE=") + ort + QLatin1Char(';');
}

std::optional<QStringList> verknuepfbareTabellen(
    engine::Workspace& workspace, int formatIndex, const QString& pfad)
{
    if (formatIndex <= 0)
        return verknuepfbareTabellen(workspace, pfad);
    try {
        return engine::foreignTableNames(Verbindungstext(formatIndex, pfad));
    } catch (const engine::isam::IsamError& e) {
        zeigeFehler(QStringLiteral("Fehler beim Öffnen der zu verknüpfenden Datenbank"), e.number(),
            e.description(), Fehlerkennung::FehlerKompakt);
        return std::nullopt;
    }
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
