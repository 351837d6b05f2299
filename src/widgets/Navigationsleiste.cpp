#include "widgets/Navigationsleiste.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

namespace kv {

namespace {

constexpr int MindestTextbreite = 120;

QString positionstext(const QString& nummer, const QString& anzahl)
{
    return QStringLiteral("Datensatz: ") + nummer + QStringLiteral(" von ") + anzahl;
}

} // namespace

qint64 Navigationsziel(Navigationsschritt schritt, qint64 position, qint64 anzahl, qint64 seite)
{
    if (anzahl <= 0)
        return -1;
    const qint64 letzter = anzahl - 1;
    seite = qMax<qint64>(1, seite);
    if (position < 0)
        return schritt == Navigationsschritt::Letzter ? letzter : 0;
    qint64 ziel = position;
    switch (schritt) {
    case Navigationsschritt::Erster:
        ziel = 0;
        break;
    case Navigationsschritt::SeiteZurueck:
        ziel = position - seite;
        break;
    case Navigationsschritt::Zurueck:
        ziel = position - 1;
        break;
    case Navigationsschritt::Vor:
        ziel = position + 1;
        break;
    case Navigationsschritt::SeiteVor:
        ziel = position + seite;
        break;
    case Navigationsschritt::Letzter:
        ziel = letzter;
        break;
    }
    return qBound<qint64>(0, ziel, letzter);
}

QString Positionstext(qint64 position, qint64 anzahl)
{
    return positionstext(QString::number(position + 1), QString::number(anzahl));
}

Navigationsleiste::Navigationsleiste(QWidget* parent)
    : QWidget(parent)
    , m_text(new QLabel(this))
{
    setObjectName(QStringLiteral("Navigationsleiste"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(1);

    m_schritte = {
        neuerKnopf(QStringLiteral("Erster"), QStringLiteral("Erster Datensatz")),
        neuerKnopf(QStringLiteral("SeiteZurueck"), QStringLiteral("Eine Seite zurück")),
        neuerKnopf(QStringLiteral("Zurueck"), QStringLiteral("Vorheriger Datensatz")),
        neuerKnopf(QStringLiteral("Vor"), QStringLiteral("Nächster Datensatz")),
        neuerKnopf(QStringLiteral("SeiteVor"), QStringLiteral("Eine Seite vor")),
        neuerKnopf(QStringLiteral("Letzter"), QStringLiteral("Letzter Datensatz")),
    };
    m_befehle = {
        neuerKnopf(QStringLiteral("Neu"), QStringLiteral("Neuer Datensatz")),
        neuerKnopf(QStringLiteral("Loeschen"), QStringLiteral("Datensatz löschen")),
        neuerKnopf(QStringLiteral("Speichern"), QStringLiteral("Änderungen speichern")),
        neuerKnopf(QStringLiteral("Abbrechen"), QStringLiteral("Änderungen verwerfen")),
    };
    const QStyle::StandardPixmap bilder[] = { QStyle::SP_MediaSkipBackward,
        QStyle::SP_MediaSeekBackward, QStyle::SP_ArrowLeft, QStyle::SP_ArrowRight,
        QStyle::SP_MediaSeekForward, QStyle::SP_MediaSkipForward, QStyle::SP_FileIcon,
        QStyle::SP_TrashIcon, QStyle::SP_DialogSaveButton, QStyle::SP_DialogCancelButton };
    int i = 0;
    for (QToolButton* k : m_schritte + m_befehle)
        k->setIcon(style()->standardIcon(bilder[i++]));

    m_text->setObjectName(QStringLiteral("Textfeld"));
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setMinimumWidth(MindestTextbreite);
    m_text->setFrameShape(QFrame::StyledPanel);
    for (int s = 0; s < 3; ++s)
        layout->addWidget(m_schritte.at(s));
    layout->addWidget(m_text, 1);
    for (int s = 3; s < 6; ++s)
        layout->addWidget(m_schritte.at(s));
    layout->addSpacing(6);
    for (QToolButton* k : std::as_const(m_befehle))
        layout->addWidget(k);

    for (int s = 0; s < m_schritte.size(); ++s) {
        connect(m_schritte.at(s), &QToolButton::clicked, this,
            [this, s] { Q_EMIT schritt(Navigationsschritt(s)); });
    }
    for (int b = 0; b < m_befehle.size(); ++b) {
        connect(m_befehle.at(b), &QToolButton::clicked, this,
            [this, b] { Q_EMIT befehl(Navigationsbefehl(b)); });
    }
}

QToolButton* Navigationsleiste::neuerKnopf(const QString& name, const QString& tipp)
{
    auto* k = new QToolButton(this);
    k->setObjectName(name);
    k->setToolTip(tipp);
    k->setAutoRaise(true);
    k->setFocusPolicy(Qt::NoFocus);
    return k;
}

void Navigationsleiste::setzeModus(int modus)
{
    m_modus = modus == 0 || modus == 2 ? modus : 1;
    sichtbarkeitAnwenden();
}

void Navigationsleiste::sichtbarkeitAnwenden()
{
    const bool reduziert = m_modus == 2;
    knopf(Navigationsschritt::SeiteZurueck)->setVisible(!reduziert);
    knopf(Navigationsschritt::SeiteVor)->setVisible(!reduziert);
    knopf(Navigationsbefehl::Neu)->setVisible(!reduziert);
    knopf(Navigationsbefehl::Loeschen)->setVisible(!reduziert);
    // Only undo our own hiding, so that a bar without a parent never opens as a window.
    if (m_modus == 0) {
        if (!isHidden()) {
            m_versteckt = true;
            hide();
        }
    } else if (m_versteckt) {
        m_versteckt = false;
        show();
    }
}

void Navigationsleiste::setzeText(const QString& text)
{
    m_text->setText(text);
    const int breite = m_text->fontMetrics().horizontalAdvance(text);
    if (breite > m_textbreite)
        textbreiteHalten(breite);
}

void Navigationsleiste::setzePositionsbreite(qint64 anzahl)
{
    if (anzahl == m_positionsanzahl)
        return;
    m_positionsanzahl = anzahl;
    // The position has at most as many digits as the number; a font may draw some digits wider.
    const QFontMetrics fm = m_text->fontMetrics();
    QChar breitesteZiffer = QLatin1Char('0');
    for (char z = '1'; z <= '9'; ++z) {
        if (fm.horizontalAdvance(QLatin1Char(z)) > fm.horizontalAdvance(breitesteZiffer))
            breitesteZiffer = QLatin1Char(z);
    }
    const QString anzahlText = QString::number(qMax<qint64>(anzahl, 0));
    const QString breitester
        = positionstext(QString(anzahlText.size(), breitesteZiffer), anzahlText);
    textbreiteHalten(qMax(fm.horizontalAdvance(breitester), fm.horizontalAdvance(text())));
}

void Navigationsleiste::textbreiteHalten(int textbreite)
{
    m_textbreite = textbreite;
    // The frame and a little air on both sides.
    const int rand = 2 * m_text->frameWidth() + m_text->fontMetrics().averageCharWidth();
    m_text->setMinimumWidth(qMax(MindestTextbreite, textbreite + rand));
}

QString Navigationsleiste::text() const
{
    return m_text->text();
}

void Navigationsleiste::setzeBearbeitbar(bool ja)
{
    m_bearbeitbar = ja;
    for (QToolButton* k : std::as_const(m_befehle))
        k->setEnabled(ja);
}

QToolButton* Navigationsleiste::knopf(Navigationsschritt s) const
{
    return m_schritte.at(int(s));
}

QToolButton* Navigationsleiste::knopf(Navigationsbefehl b) const
{
    return m_befehle.at(int(b));
}

} // namespace kv
