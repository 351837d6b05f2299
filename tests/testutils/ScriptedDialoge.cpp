#include "ScriptedDialoge.h"

#include <QTest>

namespace kv::test {

namespace {

bool passt(Knoepfe knoepfe, Antwort a)
{
    switch (knoepfe) {
    case Knoepfe::Ok:
        return a == Antwort::Ok;
    case Knoepfe::OkAbbrechen:
        return a == Antwort::Ok || a == Antwort::Abbrechen;
    case Knoepfe::JaNein:
        return a == Antwort::Ja || a == Antwort::Nein;
    case Knoepfe::JaNeinAbbrechen:
        return a == Antwort::Ja || a == Antwort::Nein || a == Antwort::Abbrechen;
    }
    return false;
}

// What a user closing the box with Escape would get.
Antwort abbruchAntwort(Knoepfe knoepfe)
{
    switch (knoepfe) {
    case Knoepfe::Ok:
        return Antwort::Ok;
    case Knoepfe::JaNein:
        return Antwort::Nein;
    case Knoepfe::OkAbbrechen:
    case Knoepfe::JaNeinAbbrechen:
        break;
    }
    return Antwort::Abbrechen;
}

QString einzeilig(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1String(" | "));
    return text;
}

} // namespace

ScriptedDialoge::ScriptedDialoge()
    : m_vorher(Dialoge::setze(this))
{ }

ScriptedDialoge::~ScriptedDialoge()
{
    Dialoge::setze(m_vorher);
}

Antwort ScriptedDialoge::meldung(const Meldung& m)
{
    m_meldungen.append(m);
    if (m_beimZeigen)
        m_beimZeigen(m);
    if (m.knoepfe == Knoepfe::Ok) {
        if (!m_antworten.empty() && m_antworten.front() == Antwort::Ok)
            m_antworten.pop_front();
        return Antwort::Ok;
    }
    if (m_antworten.empty()) {
        scheitere(QStringLiteral("Frage ohne vorbereitete Antwort: ") + einzeilig(m.text));
        return abbruchAntwort(m.knoepfe);
    }
    const Antwort a = m_antworten.front();
    m_antworten.pop_front();
    if (!passt(m.knoepfe, a)) {
        scheitere(QStringLiteral("Vorbereitete Antwort passt nicht zu den Knöpfen: ")
            + einzeilig(m.text));
        return abbruchAntwort(m.knoepfe);
    }
    return a;
}

std::optional<QString> ScriptedDialoge::eingabe(
    const QString& aufforderung, const QString& titel, const QString& vorgabe)
{
    m_gezeigteEingaben.append(Eingabe { aufforderung, titel, vorgabe });
    if (m_eingaben.empty()) {
        scheitere(QStringLiteral("Eingabe ohne vorbereitete Antwort: ") + einzeilig(aufforderung));
        return std::nullopt;
    }
    const bool abgebrochen = !m_eingaben.front().has_value();
    const QString text = m_eingaben.front().value_or(QString());
    m_eingaben.pop_front();
    if (abgebrochen)
        return std::nullopt;
    return text;
}

DateiDialogErgebnis ScriptedDialoge::dateiDialog(const DateiDialogOptionen& o)
{
    m_gezeigteDateien.append(o);
    if (m_dateien.empty()) {
        scheitere(QStringLiteral("Dateidialog ohne vorbereitete Antwort: ") + o.titel);
        return DateiDialogErgebnis { true, QString(), o.filterIndex, o.schreibgeschuetzt };
    }
    auto e = std::move(m_dateien.front());
    m_dateien.pop_front();
    return e;
}

Meldung ScriptedDialoge::letzteMeldung() const
{
    return m_meldungen.isEmpty() ? Meldung {} : m_meldungen.last();
}

QStringList ScriptedDialoge::texte() const
{
    QStringList t;
    t.reserve(m_meldungen.size());
    for (const Meldung& m : m_meldungen)
        t.append(m.text);
    return t;
}

void ScriptedDialoge::vergiss()
{
    m_meldungen.clear();
    m_gezeigteEingaben.clear();
    m_gezeigteDateien.clear();
}

void ScriptedDialoge::scheitere(const QString& grund)
{
    ++m_fehler;
    if (!m_nurZaehlen)
        QTest::qFail(qPrintable(grund), __FILE__, __LINE__);
}

} // namespace kv::test
