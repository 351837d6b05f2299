#include "widgets/Rasterkopf.h"

#include <QLineEdit>

namespace kv {

Rasterkopf::Rasterkopf(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    setObjectName(QStringLiteral("Spaltenkoepfe"));
    setSectionsClickable(true);
    setHighlightSections(false);
    m_suchpalette = palette();
    connect(this, &QHeaderView::sectionCountChanged, this, [this] {
        suchfelderAnpassen();
        suchfelderAnordnen();
    });
    connect(this, &QHeaderView::sectionResized, this, &Rasterkopf::suchfelderAnordnen);
    connect(this, &QHeaderView::sectionMoved, this, &Rasterkopf::suchfelderAnordnen);
}

int Rasterkopf::suchhoehe() const
{
    return m_suchzeile ? fontMetrics().height() + 6 : 0;
}

QSize Rasterkopf::sizeHint() const
{
    QSize s = QHeaderView::sizeHint();
    s.rheight() += suchhoehe();
    return s;
}

void Rasterkopf::setzeSuchzeile(bool ja)
{
    if (ja == m_suchzeile)
        return;
    m_suchzeile = ja;
    suchfelderAnpassen();
    updateGeometry();
    updateGeometries();
    // The table view lays itself out from the header's size hint.
    Q_EMIT geometriesChanged();
}

QLineEdit* Rasterkopf::suchfeld(int spalte) const
{
    return spalte >= 0 && spalte < m_suchfelder.size() ? m_suchfelder.at(spalte) : nullptr;
}

QString Rasterkopf::suchtext(int spalte) const
{
    const QLineEdit* feld = suchfeld(spalte);
    return feld ? feld->text() : QString();
}

void Rasterkopf::setzeSuchtext(int spalte, const QString& text)
{
    if (QLineEdit* feld = suchfeld(spalte))
        feld->setText(text);
}

void Rasterkopf::setzeSuchfarben(const QColor& hintergrund, const QColor& text)
{
    m_suchpalette = palette();
    m_suchpalette.setColor(QPalette::Base, hintergrund);
    m_suchpalette.setColor(QPalette::Text, text);
    for (QLineEdit* feld : std::as_const(m_suchfelder))
        feld->setPalette(m_suchpalette);
}

void Rasterkopf::suchfelderAnpassen()
{
    // count() lays out pending sections first, and that may call back in here: the number is
    // taken before the list is touched.
    const int anzahl = count();
    // Inputs are only added or removed at the end, so that texts and focus survive a requery.
    // One that goes is first out of the list and then deleted later: it may be the input whose
    // typing led here, and taking its focus away calls back into the header.
    QList<QLineEdit*> weg;
    while (m_suchfelder.size() > anzahl)
        weg.append(m_suchfelder.takeLast());
    for (QLineEdit* feld : std::as_const(weg)) {
        feld->disconnect(this);
        feld->hide();
        feld->deleteLater();
    }
    while (m_suchfelder.size() < anzahl) {
        const int spalte = int(m_suchfelder.size());
        auto* feld = new QLineEdit(this);
        feld->setObjectName(QStringLiteral("Suchzeile%1").arg(spalte));
        feld->setPalette(m_suchpalette);
        feld->setFrame(false);
        connect(feld, &QLineEdit::textEdited, this,
            [this, spalte](const QString& text) { Q_EMIT suchtextGeaendert(spalte, text); });
        m_suchfelder.append(feld);
    }
    for (QLineEdit* feld : std::as_const(m_suchfelder))
        feld->setVisible(m_suchzeile);
}

void Rasterkopf::updateGeometries()
{
    const int hoehe = suchhoehe();
    setViewportMargins(0, 0, 0, hoehe);
    QHeaderView::updateGeometries();
    suchfelderAnordnen();
}

void Rasterkopf::suchfelderAnordnen()
{
    if (!m_suchzeile)
        return;
    const int hoehe = suchhoehe();
    const int oben = height() - hoehe;
    // The section calls below may lay out pending sections and so change the list meanwhile;
    // inputs that go are only deleted later, so the copy stays valid.
    const int anzahl = count();
    const QList<QLineEdit*> felder = m_suchfelder;
    for (int spalte = 0; spalte < qMin(int(felder.size()), anzahl); ++spalte) {
        QLineEdit* feld = felder.at(spalte);
        if (isSectionHidden(spalte)) {
            feld->hide();
            continue;
        }
        feld->setGeometry(
            sectionViewportPosition(spalte) + 1, oben, sectionSize(spalte) - 1, hoehe);
        feld->show();
    }
}

} // namespace kv
