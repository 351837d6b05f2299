#pragma once

#include <QHeaderView>

class QLineEdit;

namespace kv {

/// The column heads of a data grid with the search row under them: one input per column,
/// kept under its head when columns are resized, moved or scrolled.
class Rasterkopf : public QHeaderView {
    Q_OBJECT
public:
    explicit Rasterkopf(QWidget* parent = nullptr);

    void setzeSuchzeile(bool ja);
    bool suchzeile() const { return m_suchzeile; }
    /// The input of a column; nullptr outside the columns.
    QLineEdit* suchfeld(int spalte) const;
    QString suchtext(int spalte) const;
    void setzeSuchtext(int spalte, const QString& text);
    void setzeSuchfarben(const QColor& hintergrund, const QColor& text);
    /// Puts the inputs under their heads again (after scrolling).
    void suchfelderAnordnen();

    QSize sizeHint() const override;

Q_SIGNALS:
    void suchtextGeaendert(int spalte, const QString& text);

protected:
    void updateGeometries() override;

private:
    void suchfelderAnpassen();
    int suchhoehe() const;

    QList<QLineEdit*> m_suchfelder;
    bool m_suchzeile = false;
    QPalette m_suchpalette;
};

} // namespace kv
