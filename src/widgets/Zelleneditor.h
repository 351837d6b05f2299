#pragma once

#include <QPlainTextEdit>

namespace kv {

/// The editor of a grid cell: one line high, but able to hold line breaks (Shift+Enter), since
/// text and memo fields may carry them. Line breaks come back in the form the cell's text had
/// ("\r\n" unless the text used plain "\n"), so that editing one word leaves the others alone.
class Zelleneditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit Zelleneditor(QWidget* parent = nullptr);

    /// Starts with text, all of it selected (typing replaces it).
    void setzeAusgangstext(const QString& text);
    QString ausgangstext() const { return m_ausgangstext; }
    /// Replaces the text and puts the cursor after it.
    void setzeText(const QString& text);
    QString text() const;
    /// The user changed the text (line breaks count as unchanged when only their form differs).
    bool geaendert() const { return toPlainText() != m_ausgangsdokument; }
    void zeilenumbruchEinfuegen();

private:
    QString m_ausgangstext;
    QString m_ausgangsdokument;
    QString m_umbruch = QStringLiteral("\r\n");
};

} // namespace kv
