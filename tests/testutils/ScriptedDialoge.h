#pragma once

#include "base/Dialoge.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

namespace kv::test {

/// The answer of the file dialog when the user chooses pfad with this filter.
inline DateiDialogErgebnis gewaehlt(const QString& pfad, int filter = 1, bool nurLesen = false)
{
    DateiDialogErgebnis e;
    e.abgebrochen = false;
    e.pfad = pfad;
    e.filterIndex = filter;
    e.schreibgeschuetzt = nurLesen;
    return e;
}

/// The dialog seam for tests: records everything shown and answers from queues.
///
/// Installs itself on construction and puts the previous implementation back on destruction.
/// A question (a message with more than one button, an input box, a file dialog) for which no
/// answer was queued fails the running test and is answered with "cancel". A plain OK message
/// never needs a queued answer; it takes one only when the next queued answer is Ok, so that
/// queued answers for later questions are not eaten by messages shown in between.
class ScriptedDialoge : public Dialoge {
public:
    struct Eingabe {
        QString aufforderung;
        QString titel;
        QString vorgabe;
    };

    ScriptedDialoge();
    ~ScriptedDialoge() override;
    ScriptedDialoge(const ScriptedDialoge&) = delete;
    ScriptedDialoge& operator=(const ScriptedDialoge&) = delete;

    void erwarteAntwort(Antwort a) { m_antworten.push_back(a); }
    /// Called with every message before it is answered, while the program waits for the answer
    /// (to look at the windows at that moment).
    void beimZeigen(std::function<void(const Meldung&)> f) { m_beimZeigen = std::move(f); }
    void erwarteEingabe(std::optional<QString> text) { m_eingaben.push_back(std::move(text)); }
    void erwarteDatei(DateiDialogErgebnis e) { m_dateien.push_back(std::move(e)); }

    Antwort meldung(const Meldung& m) override;
    std::optional<QString> eingabe(
        const QString& aufforderung, const QString& titel, const QString& vorgabe) override;
    DateiDialogErgebnis dateiDialog(const DateiDialogOptionen& o) override;

    const QList<Meldung>& meldungen() const { return m_meldungen; }
    /// The last message shown; an empty Meldung when there was none.
    Meldung letzteMeldung() const;
    /// The texts of all messages shown, in order.
    QStringList texte() const;
    const QList<Eingabe>& eingaben() const { return m_gezeigteEingaben; }
    const QList<DateiDialogOptionen>& dateiDialoge() const { return m_gezeigteDateien; }

    /// True when every queued answer has been used.
    bool leer() const { return m_antworten.empty() && m_eingaben.empty() && m_dateien.empty(); }
    /// Forgets what was shown (the queues stay).
    void vergiss();

    /// For testing this class itself: count unanswered questions instead of failing the test.
    void nurZaehlen(bool ja) { m_nurZaehlen = ja; }
    /// Questions that had no fitting answer queued.
    int fehler() const { return m_fehler; }

private:
    void scheitere(const QString& grund);

    Dialoge* m_vorher = nullptr;
    std::deque<Antwort> m_antworten;
    std::deque<std::optional<QString>> m_eingaben;
    std::deque<DateiDialogErgebnis> m_dateien;
    QList<Meldung> m_meldungen;
    QList<Eingabe> m_gezeigteEingaben;
    QList<DateiDialogOptionen> m_gezeigteDateien;
    std::function<void(const Meldung&)> m_beimZeigen;
    bool m_nurZaehlen = false;
    int m_fehler = 0;
};

} // namespace kv::test
