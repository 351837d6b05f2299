#include "widgets/Fortschrittsanzeige.h"

#include <QApplication>
#include <QProgressDialog>
#include <limits>

namespace kv {

Fortschrittsanzeige::Fortschrittsanzeige(
    QWidget* eltern, QString text, QString titel, int verzoegerungMs)
    : m_eltern(eltern)
    , m_text(std::move(text))
    , m_titel(std::move(titel))
    , m_verzoegerung(verzoegerungMs)
{
    m_uhr.start();
}

Fortschrittsanzeige::~Fortschrittsanzeige() = default;

bool Fortschrittsanzeige::melden(int erledigt, int gesamt, const QString& datei)
{
    if (!m_dialog && m_pausen == 0 && m_uhr.elapsed() >= m_verzoegerung) {
        m_dialog = std::make_unique<QProgressDialog>(
            m_text, QStringLiteral("Abbrechen"), 0, gesamt, m_eltern);
        m_dialog->setWindowTitle(m_titel);
        m_dialog->setWindowModality(Qt::WindowModal);
        // Shown here and only here: Qt's own timer could bring it up during a question.
        m_dialog->setMinimumDuration(std::numeric_limits<int>::max());
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        // Escape rejects the box, which by itself only hides it: the work would go on unseen.
        QObject::connect(
            m_dialog.get(), &QDialog::rejected, m_dialog.get(), &QProgressDialog::cancel);
        m_dialog->show();
    }
    if (m_dialog) {
        m_dialog->setMaximum(gesamt);
        m_dialog->setLabelText(datei.isEmpty() ? m_text : datei);
        m_dialog->setValue(erledigt);
    }
    // Until the modal box is up, a click or a key would reach the window whose work is running.
    QApplication::processEvents(m_dialog && m_dialog->isVisible()
            ? QEventLoop::AllEvents
            : QEventLoop::ExcludeUserInputEvents);
    return !(m_dialog && m_dialog->wasCanceled());
}

void Fortschrittsanzeige::schliessen()
{
    if (m_dialog)
        m_dialog->hide();
    m_dialog.reset();
}

Fortschrittsanzeige::Pause::Pause(Fortschrittsanzeige& a)
    : m_anzeige(a)
    , m_warSichtbar(a.m_dialog && a.m_dialog->isVisible())
{
    ++m_anzeige.m_pausen;
    if (m_warSichtbar)
        m_anzeige.m_dialog->hide();
}

Fortschrittsanzeige::Pause::~Pause()
{
    --m_anzeige.m_pausen;
    if (m_warSichtbar && m_anzeige.m_dialog)
        m_anzeige.m_dialog->show();
}

} // namespace kv
