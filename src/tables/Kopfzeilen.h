#pragma once

#include "tables/Definitionszeilen.h"
#include "tables/Leistenanzeige.h"
#include "tables/Reportfelder.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace kv {

// The header lines of a definition file as a table shared by reader and writer: each entry
// knows its key, how its value is read into the definition D and how (and whether) it is
// written, so the key list exists once per format and reading and writing cannot drift apart.

template <class D> struct Kopfeintrag {
    /// The key as written, with colon and blank ("Höhe: ").
    QString schluessel;
    std::function<void(D&, const QString& wert, QStringList& hinweise)> lesen;
    std::function<void(const D&, Definitionsschreiber&)> schreiben;
};

template <class D> class Kopftabelle {
public:
    explicit Kopftabelle(QList<Kopfeintrag<D>> eintraege)
        : m_eintraege(std::move(eintraege))
    {
        for (const Kopfeintrag<D>& e : m_eintraege)
            m_index.insert(definitionsschluessel(e.schluessel.section(u':', 0, 0)), &e);
    }
    Kopftabelle(const Kopftabelle&) = delete;
    Kopftabelle& operator=(const Kopftabelle&) = delete;

    /// Applies the line when its key is a header key; false otherwise.
    bool lese(D& d, const Definitionszeile& zeile, QStringList& hinweise) const
    {
        const Kopfeintrag<D>* e = m_index.value(zeile.schluessel);
        if (!e)
            return false;
        e->lesen(d, zeile.wert, hinweise);
        return true;
    }
    /// The header lines in table order.
    void schreibe(const D& d, Definitionsschreiber& s) const
    {
        for (const Kopfeintrag<D>& e : m_eintraege)
            e.schreiben(d, s);
    }

private:
    QList<Kopfeintrag<D>> m_eintraege;
    QHash<QString, const Kopfeintrag<D>*> m_index;
};

/// A trimmed text, always written.
template <class D> Kopfeintrag<D> textzeile(const QString& schluessel, QString D::*feld)
{
    return { schluessel, [feld](D& d, const QString& w, QStringList&) { d.*feld = w.trimmed(); },
        [schluessel, feld](const D& d, Definitionsschreiber& s) { s.zeile(schluessel, d.*feld); } };
}

/// A trimmed text, written only when not empty.
template <class D> Kopfeintrag<D> wahltextzeile(const QString& schluessel, QString D::*feld)
{
    return { schluessel, [feld](D& d, const QString& w, QStringList&) { d.*feld = w.trimmed(); },
        [schluessel, feld](const D& d, Definitionsschreiber& s) {
            if (!(d.*feld).isEmpty())
                s.zeile(schluessel, d.*feld);
        } };
}

/// A statement taken as written; only the blank the writer puts after the colon goes.
template <class D> Kopfeintrag<D> sqlzeile(const QString& schluessel, QString D::*feld)
{
    return { schluessel,
        [feld](D& d, const QString& w, QStringList&) { d.*feld = ohneSchreibleerzeichen(w); },
        [schluessel, feld](const D& d, Definitionsschreiber& s) { s.zeile(schluessel, d.*feld); } };
}

/// Twips in the locale's number form.
template <class D, class T> Kopfeintrag<D> twipszeile(const QString& schluessel, T D::*feld)
{
    return { schluessel,
        [feld](D& d, const QString& w, QStringList&) { d.*feld = T(begrenzeTwips(leseZahl(w))); },
        [schluessel, feld](const D& d, Definitionsschreiber& s) { s.zahl(schluessel, d.*feld); } };
}

/// A switch that is on only for the trimmed text "1".
template <class D> Kopfeintrag<D> schalterzeile(const QString& schluessel, bool D::*feld)
{
    return {
        schluessel, [feld](D& d, const QString& w, QStringList&) { d.*feld = leseSchalter(w); },
        [schluessel, feld](const D& d, Definitionsschreiber& s) { s.schalter(schluessel, d.*feld); }
    };
}

/// A switch read as a number that is on only for exactly 1.
template <class D> Kopfeintrag<D> zahlschalterzeile(const QString& schluessel, bool D::*feld)
{
    return {
        schluessel, [feld](D& d, const QString& w, QStringList&) { d.*feld = leseWert(w) == 1.0; },
        [schluessel, feld](const D& d, Definitionsschreiber& s) { s.schalter(schluessel, d.*feld); }
    };
}

/// "Bedienelemente": the bars at the top for "OBEN" in any case, else at the bottom.
template <class D>
Kopfeintrag<D> bedienelementezeile(bool D::*feld, const QString& oben, const QString& unten)
{
    const QString schluessel = QStringLiteral("Bedienelemente: ");
    return { schluessel,
        [feld](D& d, const QString& w, QStringList&) {
            d.*feld = w.trimmed().toUpper() == QLatin1String("OBEN");
        },
        [schluessel, feld, oben, unten](
            const D& d, Definitionsschreiber& s) { s.zeile(schluessel, d.*feld ? oben : unten); } };
}

/// A bar mode; a number outside the modes shows the full bar.
template <class D, class M>
Kopfeintrag<D> leistenzeile(const QString& schluessel, M D::*feld, int hoechster, M voll)
{
    return { schluessel,
        [feld, hoechster, voll](D& d, const QString& w, QStringList&) {
            d.*feld = M(leseGanzzahl(w, 0, hoechster, int(voll)));
        },
        [schluessel, feld](
            const D& d, Definitionsschreiber& s) { s.ganzzahl(schluessel, int(d.*feld)); } };
}

/// The copy template: taken as written, written without a blank after the colon; real line
/// breaks go into the file as "<crlf>", the form the copy routine expands.
template <class D> Kopfeintrag<D> vorlagenzeile(QString D::*feld, bool immer)
{
    const QString schluessel = QStringLiteral("Zwischenablageformat:");
    return { schluessel, [feld](D& d, const QString& w, QStringList&) { d.*feld = w; },
        [schluessel, feld, immer](const D& d, Definitionsschreiber& s) {
            if (immer || !(d.*feld).isEmpty())
                s.zeile(schluessel, vorlageEinzeilig(d.*feld));
        } };
}

/// A font size in points; written only above ab.
template <class D> Kopfeintrag<D> schriftgroessenzeile(float D::*feld, float ab)
{
    const QString schluessel = QStringLiteral("Schriftgröße: ");
    return { schluessel,
        [feld](D& d, const QString& w, QStringList&) { d.*feld = leseSchriftgroesse(w); },
        [schluessel, feld, ab](const D& d, Definitionsschreiber& s) {
            // Decided on the number as written, so that reading it back decides alike.
            const QString text = Definitionsschreiber::zahltext(d.*feld);
            if (leseZahl(text) > ab)
                s.zeile(schluessel, text);
        } };
}

/// The report picture fields, written only when there are some.
template <class D> Kopfeintrag<D> reportfelderzeile(QList<Reportfeld> D::*feld)
{
    const QString schluessel = QStringLiteral("Reportfelder: ");
    return { schluessel,
        [feld](D& d, const QString& w, QStringList&) { d.*feld = leseReportfelder(w); },
        [schluessel, feld](const D& d, Definitionsschreiber& s) {
            if (!(d.*feld).isEmpty())
                s.zeile(schluessel, reportfeldtext(d.*feld));
        } };
}

} // namespace kv
