#include "widgets/Zelleneditor.h"

#include "base/Text.h"

namespace kv {

Zelleneditor::Zelleneditor(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(true);
    document()->setDocumentMargin(1);
}

void Zelleneditor::setzeAusgangstext(const QString& text)
{
    m_ausgangstext = text;
    m_umbruch = !text.contains(QLatin1String("\r\n")) && text.contains(QLatin1Char('\n'))
        ? QStringLiteral("\n")
        : QStringLiteral("\r\n");
    setPlainText(text);
    m_ausgangsdokument = toPlainText();
    selectAll();
}

void Zelleneditor::setzeText(const QString& text)
{
    setPlainText(text);
    moveCursor(QTextCursor::End);
}

QString Zelleneditor::text() const
{
    QString t = toPlainText();
    if (m_umbruch != QLatin1String("\n"))
        ErsetzeAlle(t, QStringLiteral("\n"), m_umbruch);
    return t;
}

void Zelleneditor::zeilenumbruchEinfuegen()
{
    insertPlainText(QStringLiteral("\n"));
}

} // namespace kv
