#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

namespace kv {

/// The moves of the navigation bar.
enum class Navigationsschritt { Erster, SeiteZurueck, Zurueck, Vor, SeiteVor, Letzter };
/// The editing buttons of the navigation bar.
enum class Navigationsbefehl { Neu, Loeschen, Speichern, Abbrechen };

/// The 0-based record a step leads to from position in a set of anzahl records, clamped at
/// both ends (a move past the first or last record stays there); seite records make a page.
/// -1 for an empty set; from no position (-1) every step but Letzter leads to the first.
qint64 Navigationsziel(Navigationsschritt schritt, qint64 position, qint64 anzahl, qint64 seite);

/// The record position as the bar shows it: "Datensatz: 3 von 10" (position 0-based, -1 for
/// none).
QString Positionstext(qint64 position, qint64 anzahl);

/// The data navigator of the table-view and mask windows: buttons to move through a record set
/// around a caption the window sets ("Datensatz: n von m" or a field's value), and the editing
/// buttons. The bar only reports the buttons; the window moves its record set.
///
/// Button groups: Blättern (first, previous, next, last), Seitenweise (a page back and
/// forward), Ändern (new record, delete record) and Bestätigen (save, discard changes). The
/// reduced mode hides Seitenweise and Ändern: the keyboard pages through a grid, and the tool
/// bar offers new and delete in every mode, while saving and discarding a changed record have
/// no other button.
class Navigationsleiste : public QWidget {
    Q_OBJECT
public:
    explicit Navigationsleiste(QWidget* parent = nullptr);

    /// 0 hidden, 1 full, 2 reduced (see above); other values count as 1.
    void setzeModus(int modus);
    int modus() const { return m_modus; }

    /// Shows text in the caption field; a text wider than the room kept for it widens the
    /// field, which then stays that wide (a field's values do not make it jump on moves).
    void setzeText(const QString& text);
    QString text() const;
    /// Keeps room for every record position of a set of anzahl records ("Datensatz: n von m"
    /// with n as wide as it gets), so that the caption is never cut and keeps its width on
    /// moves; a new number of records sets it anew.
    void setzePositionsbreite(qint64 anzahl);
    /// The caption field.
    QLabel* textfeld() const { return m_text; }

    /// A locked view switches the editing buttons off.
    void setzeBearbeitbar(bool ja);
    bool bearbeitbar() const { return m_bearbeitbar; }

    /// The button of a step or command (object names "Erster", "SeiteZurueck", "Zurueck", "Vor",
    /// "SeiteVor", "Letzter", "Neu", "Loeschen", "Speichern", "Abbrechen").
    QToolButton* knopf(Navigationsschritt s) const;
    QToolButton* knopf(Navigationsbefehl b) const;

Q_SIGNALS:
    void schritt(Navigationsschritt s);
    void befehl(Navigationsbefehl b);

private:
    QToolButton* neuerKnopf(const QString& name, const QString& tipp);
    void sichtbarkeitAnwenden();
    void textbreiteHalten(int textbreite);

    QLabel* m_text;
    QList<QToolButton*> m_schritte; // in the order of Navigationsschritt
    QList<QToolButton*> m_befehle; // in the order of Navigationsbefehl
    int m_modus = 1;
    bool m_bearbeitbar = true;
    bool m_versteckt = false; // hidden by mode 0
    int m_textbreite = 0; // the widest text the field keeps room for
    qint64 m_positionsanzahl = -1; // the number of records that width was set for
};

} // namespace kv
