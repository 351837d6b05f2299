#pragma once

#include <QElapsedTimer>
#include <QString>
#include <memory>

class QProgressDialog;
class QWidget;

namespace kv {

/// The progress box of a long operation. It appears only when the work lasts longer than a
/// moment, and it never covers a question: while one is asked it is hidden, and it cannot pop up
/// by itself meanwhile.
class Fortschrittsanzeige {
public:
    Fortschrittsanzeige(QWidget* eltern, QString text, QString titel, int verzoegerungMs = 500);
    ~Fortschrittsanzeige();
    Fortschrittsanzeige(const Fortschrittsanzeige&) = delete;
    Fortschrittsanzeige& operator=(const Fortschrittsanzeige&) = delete;

    /// Shows how far the work is (datei: what is worked on now, may be empty) and lets the
    /// window events run (user input only once the box is shown); false once the user has
    /// cancelled.
    bool melden(int erledigt, int gesamt, const QString& datei);

    /// Asks a question with the box out of the way and returns its answer.
    template <class Frage> auto fragen(Frage&& frage)
    {
        const Pause pause(*this);
        return frage();
    }

    /// Closes the box.
    void schliessen();
    /// The box; nullptr while it is not there yet.
    QProgressDialog* dialog() const { return m_dialog.get(); }

private:
    class Pause {
    public:
        explicit Pause(Fortschrittsanzeige& a);
        ~Pause();
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;

    private:
        Fortschrittsanzeige& m_anzeige;
        bool m_warSichtbar;
    };

    QWidget* m_eltern;
    QString m_text;
    QString m_titel;
    int m_verzoegerung;
    QElapsedTimer m_uhr;
    int m_pausen = 0;
    std::unique_ptr<QProgressDialog> m_dialog;
};

} // namespace kv
