#pragma once

// The mask window as the user reaches it: a database opened as the program opens it, the
// navigator over it, and the mask windows it opens in an MDI area, offscreen.

#include "Kundendatenbank.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/TableDef.h"
#include "masks/Maskendefinition.h"
#include "masks/Maskendefinitionsformat.h"
#include "masks/Standardmaske.h"
#include "masks/ui/frmMaske.h"
#include "shell/AktuelleDatenbank.h"
#include "shell/Einstellungen.h"
#include "shell/Objektuebergabe.h"
#include "shell/ui/Maskenuebergabe.h"
#include "shell/ui/frmZentrale.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"
#include "widgets/Feldelement.h"
#include "widgets/Fensterleisten.h"
#include "widgets/Navigationsleiste.h"

#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace kv::test {

/// The value of a field of the record at position (from 0) of the statement's rows.
inline QVariant gespeichert(
    engine::Database& db, const QString& sql, int position, const QString& feld)
{
    auto rs = db.openRecordset(sql);
    rs->move(position);
    return rs->value(feld);
}

/// The standard mask of a table of db, as the window makes it.
inline Maskendefinition standardmaske(engine::Database& db, const QString& tabelle)
{
    return leseMaskendefinition(
        standardmaskentext(tabelle, maskenfelder(*db.tableDefs().find(tabelle)), 300,
            Standardmaskenvariante::Fenster))
        .definition;
}

/// An element of kind art bound to feld (may be empty) at the place given in twips.
inline Maskenelement maskenelement(
    Maskenelementart art, const QString& feld, int links, int oben, int breite, int hoehe)
{
    Maskenelement e;
    e.art = art;
    e.datenfeld = feld;
    e.links = links;
    e.oben = oben;
    e.breite = breite;
    e.hoehe = hoehe;
    return e;
}

class Maskenfenster {
public:
    Maskenfenster()
    {
        QDir(m_dir.path()).mkdir(QStringLiteral("einstellungen"));
        Einstellungen::setzeSpeicherordner(m_dir.file(QStringLiteral("einstellungen")));
        m_mdi = std::make_unique<QMdiArea>();
        m_mdi->resize(1000, 800);
        m_mdi->show();
        MaskenfensterAnmelden(m_mdi.get(), m_db);
    }
    ~Maskenfenster()
    {
        m_mdi.reset();
        objektuebergabe() = Objektuebergabe();
        Einstellungen::setzeSpeicherordner(QString());
    }

    TempDir& dir() { return m_dir; }
    ScriptedDialoge& dlg() { return m_dlg; }
    AktuelleDatenbank& db() { return m_db; }
    QMdiArea* mdi() const { return m_mdi.get(); }

    bool oeffneDatenbank(const QString& pfad)
    {
        m_db.Datenbank = pfad;
        m_db.DatenbankTyp = 1;
        m_db.oeffne();
        return m_db.offen();
    }

    frmZentrale* zentrale()
    {
        Zentraleumgebung u;
        u.datenbank = &m_db;
        u.aktionErlaubt = [](int) { return true; };
        u.alleFensterSchliessen = [] { return true; };
        u.datenbankSchliessen = [] {};
        return frmZentrale::zeigen(m_mdi.get(), u, [](const QStringList&) { return 0; });
    }

    /// Opens the row of the navigator with that kind and text start; the mask window opened.
    frmMaske* ausZentrale(const QString& artText, const QString& anfang)
    {
        frmZentrale* z = zentrale();
        if (!z)
            return nullptr;
        const QList<Zentralezeile>& zeilen = z->liste().zeilen();
        for (int i = 0; i < zeilen.size(); ++i) {
            if (zeilen.at(i).artText() == artText && zeilen.at(i).anzeige.startsWith(anfang)) {
                z->setzeAktuelleZeile(i);
                QTest::mouseClick(z->Command1(frmZentrale::Oeffnen), Qt::LeftButton);
                return letzteMaske();
            }
        }
        return nullptr;
    }

    /// Kunden with that many rows (Kundendatenbank.h) in a file of its own, opened, and its
    /// standard mask opened from the navigator.
    frmMaske* kundenStandardmaske(int zeilen)
    {
        const QString pfad = m_dir.file(QStringLiteral("Adressen.mdb"));
        KundendatenbankErzeugen(pfad, zeilen);
        if (!oeffneDatenbank(pfad))
            return nullptr;
        return ausZentrale(QStringLiteral("Standard-Maske"), QStringLiteral("Kunden"));
    }

    /// Opens a mask with that definition over table as the navigator hands it over.
    frmMaske* oeffneMaske(const QString& tabelle, const QString& definitionstext)
    {
        objektuebergabe().maske(tabelle, definitionstext);
        return letzteMaske();
    }

    frmMaske* letzteMaske() const
    {
        frmMaske* gefunden = nullptr;
        for (QMdiSubWindow* w : m_mdi->subWindowList()) {
            if (auto* m = qobject_cast<frmMaske*>(w->widget()))
                gefunden = m;
        }
        return gefunden;
    }

    static Feldelement* feld(frmMaske* m, const QString& datenfeld)
    {
        const QList<Maskenelement>& elemente = m->definition().elemente;
        for (int i = 0; i < elemente.size(); ++i) {
            Feldelement* f = m->feldelement(i);
            if (f && elemente.at(i).datenfeld.compare(datenfeld, Qt::CaseInsensitive) == 0)
                return f;
        }
        return nullptr;
    }

    /// Types text into the element's line as the user does (empty: deletes its content).
    static void tippe(Feldelement* f, const QString& text)
    {
        auto* zeile = f->findChild<QLineEdit*>();
        QVERIFY(zeile);
        zeile->setFocus();
        zeile->selectAll();
        if (text.isEmpty())
            QTest::keyClick(zeile, Qt::Key_Delete);
        else
            QTest::keyClicks(zeile, text);
    }

    static void klicke(frmMaske* m, Navigationsschritt s)
    {
        QTest::mouseClick(m->leisten()->navigation()->knopf(s), Qt::LeftButton);
    }

private:
    TempDir m_dir;
    ScriptedDialoge m_dlg;
    AktuelleDatenbank m_db;
    std::unique_ptr<QMdiArea> m_mdi;
};

} // namespace kv::test
