#include "widgets/Texteingabe.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QValidator>

namespace kv {

namespace {

// QLineEdit's largest limit.
constexpr int OhneGrenze = 32767;

/// Letters of the format stand for exactly these characters; umlauts are not among them.
bool istAsciiBuchstabe(QChar c, bool gross)
{
    return gross ? (c >= u'A' && c <= u'Z') : (c >= u'a' && c <= u'z');
}

QChar inFormatschreibung(QChar f, QChar c)
{
    if (f == u'A')
        return c.toUpper();
    if (f == u'a')
        return c.toLower();
    return c;
}

class Formatpruefer : public QValidator {
public:
    Formatpruefer(QString format, QObject* parent)
        : QValidator(parent)
        , m_format(std::move(format))
    { }

    State validate(QString& text, int&) const override
    {
        if (text.size() > m_format.size())
            return Invalid;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar f = m_format.at(i);
            const QChar c = inFormatschreibung(f, text.at(i));
            if (!passtZuFormatzeichen(f, c))
                return Invalid;
            text[i] = c;
        }
        return Acceptable;
    }

private:
    QString m_format;
};

} // namespace

bool passtZuFormatzeichen(QChar f, QChar c)
{
    switch (f.unicode()) {
    case u'A':
        return istAsciiBuchstabe(c, true);
    case u'a':
        return istAsciiBuchstabe(c, false);
    case u'9':
        return c >= u'0' && c <= u'9';
    case u'#':
        return (c >= u'0' && c <= u'9') || QStringLiteral("+-$%\\,.").contains(c);
    case u'@':
        return !c.isLetterOrNumber() && !c.isSpace();
    case u'B':
        return c == u'0' || c == u'1';
    case u'x':
        return (c >= u'0' && c <= u'9') || (c.toLower() >= u'a' && c.toLower() <= u'f');
    default:
        return c == f;
    }
}

Qt::Alignment qtAusrichtung(HorizontaleAusrichtung h, VertikaleAusrichtung v)
{
    Qt::Alignment a;
    switch (h) {
    case HorizontaleAusrichtung::Rechts:
        a = Qt::AlignRight;
        break;
    case HorizontaleAusrichtung::Zentriert:
        a = Qt::AlignHCenter;
        break;
    case HorizontaleAusrichtung::Links:
        a = Qt::AlignLeft;
        break;
    }
    switch (v) {
    case VertikaleAusrichtung::Unten:
        return a | Qt::AlignBottom;
    case VertikaleAusrichtung::Zentriert:
        return a | Qt::AlignVCenter;
    case VertikaleAusrichtung::Oben:
        break;
    }
    return a | Qt::AlignTop;
}

Texteingabe::Texteingabe(QWidget* parent)
    : Feldelement(parent)
    , m_zeile(new QLineEdit(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_zeile);
    setFocusProxy(m_zeile);
    m_zeile->setAlignment(
        qtAusrichtung(HorizontaleAusrichtung::Links, VertikaleAusrichtung::Zentriert));
    connect(m_zeile, &QLineEdit::textEdited, this, [this] { meldeAenderung(); });
}

void Texteingabe::setzeEinstellungen(const TexteingabeEinstellungen& e)
{
    setzeNurLesen(e.sperre);
    setzeEingabeformat(e.eingabeformat);
    setzeAusrichtung(e.horizontal, e.vertikal);
}

void Texteingabe::setzeEingabeformat(const QString& format)
{
    delete m_zeile->validator();
    m_zeile->setValidator(format.isEmpty() ? nullptr : new Formatpruefer(format, m_zeile));
}

void Texteingabe::setzeHoechstlaenge(int zeichen)
{
    m_grenze = std::max(zeichen, 0);
    m_zeile->setMaxLength(m_grenze > 0 ? m_grenze : OhneGrenze);
}

void Texteingabe::setzeAusrichtung(HorizontaleAusrichtung h, VertikaleAusrichtung v)
{
    m_zeile->setAlignment(qtAusrichtung(h, v));
}

void Texteingabe::zeigeWert(const QVariant& wert)
{
    // A stored value longer than the limit (a foreign table) is shown whole, not cut.
    const QString text = wert.isNull() ? QString() : wert.toString();
    const int grenze = m_grenze > 0 ? m_grenze : OhneGrenze;
    m_zeile->setMaxLength(std::max(grenze, int(text.size())));
    m_zeile->setText(text);
    m_zeile->setCursorPosition(0);
    setzeDatenGeaendert(false);
}

QVariant Texteingabe::wert() const
{
    return m_zeile->text().isEmpty() ? QVariant() : QVariant(m_zeile->text());
}

QString Texteingabe::eingabetext() const
{
    return m_zeile->text();
}

void Texteingabe::setzeNurLesen(bool ja)
{
    Feldelement::setzeNurLesen(ja);
    m_zeile->setReadOnly(ja);
}

void Texteingabe::setzeFarben(const QColor& hintergrund, const QColor& text)
{
    faerbe(m_zeile, hintergrund, text);
}

} // namespace kv
