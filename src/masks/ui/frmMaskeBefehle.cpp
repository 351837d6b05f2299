#include "masks/ui/frmMaske.h"

#include "base/NichtVerfuegbar.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "masks/F6Kopieanweisung.h"
#include "masks/ui/F6Kopie.h"
#include "masks/ui/Untertabelle.h"
#include "tables/Kopiertext.h"
#include "widgets/Ankreuzfeld.h"
#include "widgets/DataGrid.h"
#include "widgets/Feldelement.h"
#include "widgets/Navigationsleiste.h"
#include "widgets/Optionsgruppe.h"
#include "widgets/Spaltenliste.h"
#include "widgets/Werkzeugleiste.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QShortcut>
#include <QTabBar>

// The mask window's commands and keys.

namespace kv {

namespace {

// Records a page step of the navigation bar moves over.
constexpr qint64 Seitenlaenge = 10;

/// The window, or the MDI frame around it, closes.
void fensterSchliessen(QWidget* fenster)
{
    if (auto* rahmen = qobject_cast<QMdiSubWindow*>(fenster->parentWidget()))
        rahmen->close();
    else
        fenster->close();
}

template <class T> bool liegtIn(const QWidget* w)
{
    for (; w; w = w->parentWidget()) {
        if (qobject_cast<const T*>(w))
            return true;
    }
    return false;
}

} // namespace

void frmMaske::werkzeug(const QString& name)
{
    if (name == u"zurück") {
        schritt(int(Navigationsschritt::Zurueck));
    } else if (name == u"vor") {
        schritt(int(Navigationsschritt::Vor));
    } else if (name == u"neu") {
        if (m_steuerung.hinzufuegen())
            m_steuerung.speichern();
        else
            m_steuerung.neu();
    } else if (name == u"neukopie") {
        if (m_steuerung.hinzufuegen())
            m_steuerung.speichern();
        else
            m_steuerung.neuKopie();
    } else if (name == u"schließen") {
        // A pending change is dropped first ("Abbruch"); the next click closes.
        if (!m_steuerung.aenderungOffen() || !m_steuerung.abbrechen())
            fensterSchliessen(this);
        return;
    } else if (name == u"löschen") {
        m_steuerung.loeschen();
    } else if (name == u"suchen") {
        if (m_steuerung.hinzufuegen())
            m_steuerung.abbrechen();
        FensterNichtVerfuegbar();
    } else if (name == u"kopie") {
        kopieren();
    } else if (name == u"druckenmaske" || name == u"druckenreport") {
        FensterNichtVerfuegbar();
    }
    werkzeugeAktualisieren();
}

void frmMaske::schritt(int navigationsschritt)
{
    const auto s = Navigationsschritt(navigationsschritt);
    // Steps beyond the records known so far need the number of records.
    const bool vorwaerts = s == Navigationsschritt::Vor || s == Navigationsschritt::SeiteVor;
    if (s == Navigationsschritt::Letzter
        || (vorwaerts && m_steuerung.position() + Seitenlaenge >= m_steuerung.anzahl()))
        m_steuerung.anzahlErmitteln();
    const qint64 ziel
        = Navigationsziel(s, m_steuerung.position(), m_steuerung.anzahl(), Seitenlaenge);
    if (ziel >= 0)
        m_steuerung.geheZu(ziel);
    werkzeugeAktualisieren();
}

void frmMaske::kopieren()
{
    engine::Recordset* rs = m_steuerung.datensatz();
    if (!rs || !m_steuerung.hatDatensatz())
        return;
    const QString text = kopiertext(m_definition.zwischenablageformat, kopierfelder(*rs, nullptr));
    QClipboard* ablage = QGuiApplication::clipboard();
    ablage->clear();
    ablage->setText(text);
}

void frmMaske::tastenkuerzelAnlegen()
{
    // Only while the focus is in this window, so that several masks do not share the keys; the
    // bar's tools work in mode 0 too, where the bar is hidden.
    for (QAction* a : m_leisten->funktionsleiste()->actions()) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(a);
    }
    const auto kuerzel = [this](Qt::Key taste, auto&& aktion) {
        auto* k = new QShortcut(QKeySequence(taste), this);
        k->setContext(Qt::WidgetWithChildrenShortcut);
        connect(k, &QShortcut::activated, this, aktion);
    };
    const auto neuenSatzVerwerfen = [this] {
        if (m_steuerung.hinzufuegen()) {
            m_steuerung.abbrechen();
            werkzeugeAktualisieren();
        }
    };
    kuerzel(Qt::Key_F5, [neuenSatzVerwerfen] {
        neuenSatzVerwerfen();
        FensterNichtVerfuegbar();
    });
    kuerzel(Qt::Key_F8, [neuenSatzVerwerfen] {
        neuenSatzVerwerfen();
        FensterNichtVerfuegbar();
    });
    kuerzel(Qt::Key_F6, [this] { f6Kopie(); });
}

void frmMaske::f6Kopie()
{
    const QPointer<QWidget> fokus = QApplication::focusWidget();
    const Element* e = elementMit(fokus);
    engine::Recordset* rs = m_steuerung.datensatz();
    engine::Database* db = m_steuerung.datenbank();
    if (!e || !e->feld || e->feld->datenfeld().isEmpty() || e->feld->nurLesen() || !rs || !db)
        return;
    std::unique_ptr<engine::Recordset> werte;
    try {
        const engine::Field& f = rs->field(e->feld->datenfeld());
        if (f.sourceTable().isEmpty())
            return;
        werte = db->openRecordset(
            f6Kopieanweisung(
                f.sourceField().isEmpty() ? f.name() : f.sourceField(), f.sourceTable(), f.type()),
            engine::dbOpenSnapshot);
    } catch (const engine::EngineError&) {
        // Values that cannot be listed offer nothing to copy.
        return;
    }
    F6Kopie dialog(std::move(werte), e->feld->font(),
        QDir(m_umgebung.leisten.grafikverzeichnis).filePath(QStringLiteral("Neukopie32.ico")),
        this);
    dialog.exec();
    if (const std::optional<QString>& wert = dialog.gewaehlt(); wert && fokus)
        wertEinsetzen(e->feld, fokus, *wert);
    if (fokus)
        fokus->setFocus(Qt::OtherFocusReason);
}

void frmMaske::wertEinsetzen(Feldelement* feld, QWidget* fokus, const QString& wert)
{
    // As if typed, so that the element counts as changed and formulas follow.
    auto* zeile = qobject_cast<QLineEdit*>(fokus);
    if (!zeile)
        zeile = feld->findChild<QLineEdit*>();
    if (zeile) {
        zeile->selectAll();
        zeile->insert(wert);
        return;
    }
    if (auto* text = feld->findChild<QPlainTextEdit*>())
        text->setPlainText(wert);
}

bool frmMaske::taste(QObject* objekt, QKeyEvent* t)
{
    auto* w = qobject_cast<QWidget*>(objekt);
    if (!w || t->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier))
        return false;
    if (liegtIn<DataGrid>(w))
        return false;
    if (t->key() == Qt::Key_Escape) {
        werkzeug(QStringLiteral("schließen"));
        return true;
    }
    if (t->key() != Qt::Key_Return && t->key() != Qt::Key_Enter)
        return false;
    // Lists, check boxes, option groups and the tab control keep Enter for themselves.
    if (liegtIn<Spaltenliste>(w) || liegtIn<Ankreuzfeld>(w) || liegtIn<Optionsgruppe>(w)
        || liegtIn<QTabBar>(w))
        return false;
    focusNextChild();
    return true;
}

bool frmMaske::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (ereignis->type() == QEvent::KeyPress && taste(objekt, static_cast<QKeyEvent*>(ereignis)))
        return true;
    return QMainWindow::eventFilter(objekt, ereignis);
}

} // namespace kv
