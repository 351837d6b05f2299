#include "widgets/Memoeingabe.h"

#include "widgets/Zelleneditor.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QTextBlock>

namespace kv {

Memoeingabe::Memoeingabe(QWidget* parent)
    : Feldelement(parent)
    , m_editor(new Zelleneditor(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_editor);
    setFocusProxy(m_editor);
    m_editor->setFrameShape(QFrame::StyledPanel);
    m_editor->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_editor->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_editor->installEventFilter(this);
    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] {
        if (m_zeigt)
            return;
        begrenzen();
        meldeAenderung();
    });
}

void Memoeingabe::setzeEinstellungen(const TexteingabeEinstellungen& e)
{
    setzeNurLesen(e.sperre);
    setzeAusrichtung(e.horizontal);
}

void Memoeingabe::setzeAusrichtung(HorizontaleAusrichtung h)
{
    QTextOption option = m_editor->document()->defaultTextOption();
    option.setAlignment(h == HorizontaleAusrichtung::Rechts ? Qt::AlignRight
            : h == HorizontaleAusrichtung::Zentriert        ? Qt::AlignHCenter
                                                            : Qt::AlignLeft);
    m_editor->document()->setDefaultTextOption(option);
}

void Memoeingabe::zeigeWert(const QVariant& wert)
{
    m_zeigt = true;
    m_editor->setzeAusgangstext(wert.isNull() ? QString() : wert.toString());
    m_editor->moveCursor(QTextCursor::Start);
    m_zeigt = false;
    setzeDatenGeaendert(false);
}

QVariant Memoeingabe::wert() const
{
    const QString text = m_editor->text();
    return text.isEmpty() ? QVariant() : QVariant(text);
}

QString Memoeingabe::eingabetext() const
{
    return m_editor->text();
}

void Memoeingabe::setzeNurLesen(bool ja)
{
    Feldelement::setzeNurLesen(ja);
    m_editor->setReadOnly(ja);
}

void Memoeingabe::setzeFarben(const QColor& hintergrund, const QColor& text)
{
    faerbe(m_editor, hintergrund, text);
}

void Memoeingabe::begrenzen()
{
    if (m_grenze <= 0 || m_editor->toPlainText().size() <= m_grenze)
        return;
    // Typed or pasted text beyond the limit is dropped from the end, as a line edit does.
    m_zeigt = true;
    QTextCursor c = m_editor->textCursor();
    const int pos = c.position();
    c.movePosition(QTextCursor::Start);
    c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, m_grenze);
    c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    c.removeSelectedText();
    c.setPosition(std::min(pos, m_grenze));
    m_editor->setTextCursor(c);
    m_zeigt = false;
}

bool Memoeingabe::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == m_editor && ereignis->type() == QEvent::KeyPress) {
        const auto* t = static_cast<QKeyEvent*>(ereignis);
        const bool enter = t->key() == Qt::Key_Return || t->key() == Qt::Key_Enter;
        if (enter && (t->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))
            && !m_editor->isReadOnly()) {
            m_editor->zeilenumbruchEinfuegen();
            return true;
        }
    }
    return Feldelement::eventFilter(objekt, ereignis);
}

} // namespace kv
