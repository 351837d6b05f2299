#include "widgets/DataGrid.h"

#include "base/Dialoge.h"
#include "base/Format.h"
#include "base/Rastermodell.h"
#include "widgets/Eingabepruefung.h"
#include "widgets/Rasteransicht.h"
#include "widgets/Rasterproxy.h"
#include "widgets/Zelleneditor.h"

#include <QDateTime>
#include <QKeyEvent>
#include <algorithm>

// Editing, keys, marking and deleting of the grid.

namespace kv {

void DataGrid::setzeNurLesen(bool ja)
{
    if (ja && !aenderungenUebernehmen())
        aenderungenVerwerfen();
    m_nurLesen = ja;
    if (m_rastermodell)
        m_rastermodell->setzeNeuzeile(!ja);
    m_ansicht->setEditTriggers(ja || !m_rastermodell ? QAbstractItemView::NoEditTriggers
                                                     : QAbstractItemView::DoubleClicked
                | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    if (m_proxy->rowCount() > 0 && m_proxy->columnCount() > 0)
        Q_EMIT m_proxy->dataChanged(index(0, 0),
            index(m_proxy->rowCount() - 1, m_proxy->columnCount() - 1), { Qt::DisplayRole });
}

void DataGrid::setzeZellpruefung(Zellpruefung pruefung)
{
    m_pruefung = std::move(pruefung);
}

void DataGrid::setzeLoeschfrage(Loeschfrage ab)
{
    m_loeschfrage = ab;
}

void DataGrid::setzeLoeschtitel(const QString& titel)
{
    m_loeschtitel = titel;
}

void DataGrid::setzeFehlertexte(
    const QString& speichern, const QString& loeschen, Fehlerkennung kennung)
{
    m_speicherfehler = speichern;
    m_loeschfehler = loeschen;
    m_kennung = kennung;
}

bool DataGrid::taste(QKeyEvent* e)
{
    const Qt::KeyboardModifiers umschalter
        = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const int zeile = aktuelleZeile();
    switch (e->key()) {
    case Qt::Key_Delete:
        if (m_editor)
            return false;
        if (m_nurLesen || !m_rastermodell)
            return true;
        if (umschalter != Qt::NoModifier) {
            if (zeile < 0 || zeile >= datenzeilen())
                return true;
            markiereZeile(zeile);
        }
        loeschen(markierteZeilen(), true);
        return true;
    case Qt::Key_F6:
        if (zeile > 0)
            wertEinsetzen(wertDarueber());
        return true;
    case Qt::Key_F7:
        if (!IstDatumstyp(feldtyp(aktuelleSpalte())))
            return false;
        wertEinsetzen(
            Format(QDateTime(QDate::currentDate(), QTime(0, 0)), QStringLiteral("Short Date")));
        return true;
    case Qt::Key_Escape:
        if (m_editor)
            return false;
        if (inBearbeitung())
            aenderungenVerwerfen();
        else
            Q_EMIT escapeOhneAenderung();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_editor || zeile < 0)
            return false;
        Q_EMIT zeileGewaehlt(zeile);
        return true;
    default:
        return false;
    }
}

QString DataGrid::wertDarueber() const
{
    const QModelIndex aktuell = m_ansicht->currentIndex();
    if (aktuell.row() <= 0)
        return {};
    return index(aktuell.row() - 1, aktuell.column()).data(Qt::EditRole).toString();
}

void DataGrid::wertEinsetzen(const QString& text)
{
    const QModelIndex aktuell = m_ansicht->currentIndex();
    if (!aktuell.isValid() || !(m_proxy->flags(aktuell) & Qt::ItemIsEditable))
        return;
    if (!m_editor)
        m_ansicht->edit(aktuell);
    if (auto* editor = qobject_cast<Zelleneditor*>(m_editor))
        editor->setzeText(text);
}

bool DataGrid::editorPruefen(QWidget* editor)
{
    // A message box takes the focus from the editor, which would check the entry again.
    if (m_pruefungLaeuft) {
        m_editorAbgelehnt = true;
        return false;
    }
    auto* e = qobject_cast<Zelleneditor*>(editor);
    if (!e || !e->geaendert() || !m_pruefung)
        return true;
    const QString meldung = m_pruefung(m_ansicht->currentIndex().column(), e->text());
    if (meldung.isEmpty())
        return true;
    m_pruefungLaeuft = true;
    zeigeMeldung(meldung, QString(), Knoepfe::Ok, Symbol::Warnung);
    m_pruefungLaeuft = false;
    m_editorAbgelehnt = true;
    e->setFocus();
    return false;
}

bool DataGrid::editorUebernehmen()
{
    QWidget* editor = m_editor;
    if (!editor)
        return true;
    if (!editorPruefen(editor)) {
        m_editorAbgelehnt = false;
        return false;
    }
    m_ansicht->editorSchliessen(editor, true);
    return true;
}

bool DataGrid::darfWechseln(const QModelIndex& nach)
{
    if (!m_fertig)
        return true;
    if (m_pruefungLaeuft)
        return false;
    if (!editorUebernehmen())
        return false;
    if (!m_rastermodell)
        return true;
    const int bearbeitet = m_rastermodell->bearbeiteteZeile();
    if (bearbeitet >= 0 && (!nach.isValid() || nach.row() != bearbeitet))
        return zeileSpeichern();
    return true;
}

bool DataGrid::zeileSpeichern()
{
    if (!m_rastermodell)
        return true;
    const int zeile = m_rastermodell->bearbeiteteZeile();
    if (zeile < 0)
        return true;
    if (const auto fehler = m_rastermodell->zeileSpeichern()) {
        zeigeFehler(m_speicherfehler, fehler->nummer, fehler->beschreibung, m_kennung);
        return false;
    }
    const bool neu = m_hinzufuegen;
    m_hinzufuegen = false;
    m_proxy->zeilenkopfGeaendert(zeile);
    if (neu)
        Q_EMIT hinzufuegenBeendet(true);
    Q_EMIT zeileGespeichert(lesezeichen(zeile), neu);
    return true;
}

bool DataGrid::aenderungenUebernehmen()
{
    return editorUebernehmen() && zeileSpeichern();
}

void DataGrid::aenderungenVerwerfen()
{
    if (m_editor)
        m_ansicht->editorSchliessen(m_editor, false);
    if (!m_rastermodell || m_rastermodell->bearbeiteteZeile() < 0)
        return;
    const int zeile = m_rastermodell->bearbeiteteZeile();
    const bool neu = m_hinzufuegen;
    m_hinzufuegen = false;
    m_rastermodell->zeileVerwerfen();
    m_proxy->zeilenkopfGeaendert(zeile);
    if (neu)
        Q_EMIT hinzufuegenBeendet(false);
}

bool DataGrid::neueZeileBeginnen()
{
    if (m_nurLesen || !m_rastermodell)
        return false;
    if (m_hinzufuegen)
        return true;
    if (!aenderungenUebernehmen())
        return false;
    // A new record goes after every record, so they must all be known.
    if (m_rastermodell->zaehltNoch())
        m_rastermodell->anzahlErmitteln();
    const int letzte = m_proxy->rowCount() - 1;
    if (letzte < 0 || !istNeuzeile(letzte))
        return false;
    const int spalte = ersteBearbeitbareSpalte();
    const QModelIndex ziel = index(letzte, qMax(0, spalte));
    m_ansicht->selectionModel()->setCurrentIndex(ziel, QItemSelectionModel::NoUpdate);
    if (m_ansicht->currentIndex() != ziel || !m_rastermodell->neueZeileBeginnen())
        return false;
    m_ansicht->scrollTo(ziel);
    m_ansicht->setFocus();
    if (m_proxy->flags(ziel) & Qt::ItemIsEditable)
        m_ansicht->edit(ziel);
    return m_hinzufuegen;
}

bool DataGrid::setzeZelltext(int zeile, int spalte, const QString& text)
{
    const QModelIndex ziel = index(zeile, spalte);
    if (!ziel.isValid() || !(m_proxy->flags(ziel) & Qt::ItemIsEditable))
        return false;
    // The row takes the text at once, so that it is there whatever happens to an open editor.
    if (!m_proxy->setData(ziel, text, Qt::EditRole))
        return false;
    auto* editor = qobject_cast<Zelleneditor*>(m_editor);
    if (editor && ziel == m_ansicht->currentIndex() && editor->text() != text)
        editor->setzeText(text);
    return true;
}

bool DataGrid::imHinzufuegen() const
{
    return m_hinzufuegen;
}

bool DataGrid::inBearbeitung() const
{
    return m_editor || (m_rastermodell && m_rastermodell->bearbeiteteZeile() >= 0);
}

void DataGrid::bearbeitungBegonnen(int zeile, bool neu)
{
    m_proxy->zeilenkopfGeaendert(zeile);
    if (neu && !m_hinzufuegen) {
        m_hinzufuegen = true;
        Q_EMIT hinzufuegenBegonnen();
    }
}

bool DataGrid::setzeAktuelleZeile(int zeile)
{
    if (zeile < 0 || zeile >= m_proxy->rowCount())
        return false;
    int spalte = aktuelleSpalte();
    if (spalte < 0)
        spalte = qMax(0, ersteBearbeitbareSpalte());
    const QModelIndex ziel = index(zeile, spalte);
    m_ansicht->selectionModel()->setCurrentIndex(ziel, QItemSelectionModel::NoUpdate);
    if (aktuelleZeile() != zeile)
        return false;
    m_ansicht->scrollTo(ziel);
    return true;
}

void DataGrid::bewege(Navigationsschritt schritt)
{
    if (schritt == Navigationsschritt::Letzter && m_rastermodell && m_rastermodell->zaehltNoch())
        m_rastermodell->anzahlErmitteln();
    const int anzahl = datenzeilen();
    const qint64 ziel = Navigationsziel(
        schritt, qMin(aktuelleZeile(), anzahl), anzahl, m_ansicht->sichtbareZeilenanzahl());
    if (ziel >= 0)
        setzeAktuelleZeile(int(ziel));
}

void DataGrid::aktuelleZeileVomModell(int zeile)
{
    if (zeile == aktuelleZeile())
        return;
    m_vomModell = true;
    setzeAktuelleZeile(zeile);
    m_vomModell = false;
}

void DataGrid::aktuellGeaendert(const QModelIndex& aktuell, const QModelIndex& vorher)
{
    if (!m_fertig)
        return;
    if (aktuell.row() != vorher.row()) {
        if (m_rastermodell && !m_vomModell && aktuell.isValid() && aktuell.row() < datenzeilen())
            m_rastermodell->setzeAktuelleZeile(aktuell.row());
        m_proxy->setzeAktuelleZeile(aktuell.row());
        Q_EMIT aktuelleZeileGeaendert(aktuell.row());
    }
    if (aktuell.isValid())
        Q_EMIT aktuelleZelleGeaendert(aktuell.row(), aktuell.column());
}

void DataGrid::lesefehlerZeigen(qint64 nummer, const QString& beschreibung)
{
    if (m_lesefehlerGezeigt)
        return;
    m_lesefehlerGezeigt = true;
    // Rows are read while the view paints; the message waits until painting is over.
    QMetaObject::invokeMethod(
        this,
        [nummer, beschreibung] {
            zeigeFehler(QStringLiteral("Beim Lesen der Daten ist ein Fehler aufgetreten!"), nummer,
                beschreibung);
        },
        Qt::QueuedConnection);
}

QList<int> DataGrid::markierteZeilen() const
{
    QList<int> zeilen;
    for (const QModelIndex& i : m_ansicht->selectionModel()->selectedRows())
        zeilen.append(i.row());
    std::sort(zeilen.begin(), zeilen.end());
    return zeilen;
}

QList<QByteArray> DataGrid::markierteLesezeichen() const
{
    QList<QByteArray> ergebnis;
    for (int zeile : markierteZeilen()) {
        const QByteArray l = lesezeichen(zeile);
        if (!l.isEmpty())
            ergebnis.append(l);
    }
    return ergebnis;
}

void DataGrid::markiereZeile(int zeile, bool hinzu)
{
    if (zeile < 0 || zeile >= m_proxy->rowCount() || m_proxy->columnCount() == 0)
        return;
    m_ansicht->selectionModel()->select(index(zeile, 0),
        (hinzu ? QItemSelectionModel::Select : QItemSelectionModel::ClearAndSelect)
            | QItemSelectionModel::Rows);
}

void DataGrid::markierungAufheben()
{
    m_ansicht->selectionModel()->clearSelection();
}

void DataGrid::kopfMarkierung(int zeile)
{
    if (zeile < 0 || zeile >= datenzeilen())
        return;
    if (zeile != aktuelleZeile() && !setzeAktuelleZeile(zeile))
        return;
    const Qt::KeyboardModifiers umschalter = m_kopfUmschalter;
    QItemSelectionModel* auswahl = m_ansicht->selectionModel();
    if (umschalter & Qt::ControlModifier) {
        auswahl->select(index(zeile, 0), QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
        m_markierungsanker = zeile;
    } else if ((umschalter & Qt::ShiftModifier) && m_markierungsanker >= 0
        && m_markierungsanker < datenzeilen()) {
        const QItemSelection bereich(
            index(qMin(zeile, m_markierungsanker), 0), index(qMax(zeile, m_markierungsanker), 0));
        auswahl->select(bereich, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else {
        markiereZeile(zeile);
        m_markierungsanker = zeile;
    }
}

bool DataGrid::loescheMarkierte()
{
    return loeschen(markierteZeilen(), true);
}

bool DataGrid::loeschen(const QList<int>& zeilen, bool fragen)
{
    if (m_nurLesen || !m_rastermodell)
        return false;
    QList<QByteArray> lesezeichenliste;
    int erste = -1;
    for (int zeile : zeilen) {
        const QByteArray l = lesezeichen(zeile);
        if (l.isEmpty())
            continue;
        lesezeichenliste.append(l);
        erste = erste < 0 ? zeile : qMin(erste, zeile);
    }
    if (lesezeichenliste.isEmpty())
        return false;
    const int schwelle = m_loeschfrage == Loeschfrage::AbZweiZeilen ? 2 : 1;
    if (fragen && lesezeichenliste.size() >= schwelle) {
        const QString frage = QStringLiteral("Möchten Sie die markierten Datensätze löschen?")
            + Zeilenumbruch + Zeilenumbruch + QStringLiteral("Markierte Datensätze: ")
            + QString::number(lesezeichenliste.size());
        if (zeigeMeldung(frage, m_loeschtitel, Knoepfe::JaNein, Symbol::Frage, 2) != Antwort::Ja)
            return false;
    }
    // A changed row that goes is not written first; any other is.
    const int bearbeitet = m_rastermodell->bearbeiteteZeile();
    if (bearbeitet >= 0 && zeilen.contains(bearbeitet))
        aenderungenVerwerfen();
    else if (!aenderungenUebernehmen())
        return false;

    const auto fehler = m_rastermodell->loeschen(lesezeichenliste);
    int geloescht = 0;
    for (const QByteArray& l : std::as_const(lesezeichenliste)) {
        if (m_rastermodell->zeileVon(l) < 0)
            ++geloescht;
    }
    markierungAufheben();
    if (fehler)
        zeigeFehler(m_loeschfehler, fehler->nummer, fehler->beschreibung, m_kennung);
    if (geloescht > 0) {
        // The row that moved into the place of the first deleted one becomes current.
        const int verbleibend = datenzeilen();
        if (verbleibend > 0)
            setzeAktuelleZeile(qMin(erste, verbleibend - 1));
        Q_EMIT zeilenGeloescht(geloescht);
    }
    return geloescht > 0;
}

} // namespace kv
