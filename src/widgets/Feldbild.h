#pragma once

#include "masks/Elementeinstellungen.h"
#include "widgets/Feldelement.h"

#include <QByteArray>

namespace kv {

class Statikbild;

/// The picture held in a field ("AnzeigeBild"), shown scaled by its placement. Its menu (right
/// button or double click) loads a picture from a file, saves it to a file, or removes it.
class Feldbild : public Feldelement {
    Q_OBJECT
public:
    explicit Feldbild(QWidget* parent = nullptr);

    void setzeEinstellungen(const BildEinstellungen& e);
    Statikbild* anzeige() const { return m_anzeige; }
    /// The stored bytes (what wert() gives).
    const QByteArray& daten() const { return m_daten; }

    /// Asks for a picture file and takes it; false when cancelled or the file holds no picture
    /// (which is reported).
    bool ausDateiLaden();
    /// Asks for a file and writes the stored bytes into it; false when cancelled or failed.
    bool inDateiSpeichern();
    void entfernen();
    /// The menu at pos; false when nothing was chosen.
    bool menueZeigen(const QPoint& pos);

    void zeigeWert(const QVariant& wert) override;
    QVariant wert() const override;
    QString eingabetext() const override { return {}; }

protected:
    void contextMenuEvent(QContextMenuEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    void uebernehmen(const QByteArray& daten);

    Statikbild* m_anzeige;
    QByteArray m_daten;
};

/// The file dialog filter of pictures.
QString bilddateifilter();
/// The file suffix of picture bytes ("png", "jpg"); empty when no picture format is known.
QString bildendung(const QByteArray& daten);

} // namespace kv
