#pragma once

#include "masks/Elementeinstellungen.h"
#include "widgets/Feldelement.h"

#include <QByteArray>
#include <QDateTime>
#include <functional>
#include <memory>

class QFileSystemWatcher;
class QLabel;
class QTemporaryDir;

namespace kv {

/// The object held in a binary field ("AnzeigeOLE"): shows the object's kind and size. A double
/// click inserts a file when the field is empty; otherwise its menu offers "Objekt bearbeiten",
/// which opens the object with the desktop's program for its type through a temporary file and
/// offers to store it back when that file changed, and "Objekt löschen".
class Objektfeld : public Feldelement {
    Q_OBJECT
public:
    /// Opens a file with the program the desktop has for it; false when that failed.
    using Oeffner = std::function<bool(const QString& pfad)>;

    explicit Objektfeld(QWidget* parent = nullptr);
    ~Objektfeld() override;

    void setzeEinstellungen(const BildEinstellungen& e);
    /// Replaces the desktop's opener (tests).
    void setzeOeffner(Oeffner oeffner) { m_oeffner = std::move(oeffner); }

    const QByteArray& daten() const { return m_daten; }
    /// "PNG-Bild, 4.096 Bytes"; "(leer)" without an object.
    QString beschreibung() const;
    QLabel* anzeige() const { return m_anzeige; }

    /// Asks for a file and takes its content; false when cancelled or unreadable.
    bool einfuegen();
    /// Writes the object to a temporary file and opens it; false when that failed (reported).
    bool bearbeiten();
    /// The temporary file of the object being edited; empty when none is.
    QString bearbeitungsdatei() const { return m_datei; }
    /// Looks whether the opened file changed and offers to store it back; true when taken.
    bool rueckgabePruefen();
    void loeschen();
    /// A double click: inserting when empty, else the menu at pos.
    bool doppelklick(const QPoint& pos);

    void zeigeWert(const QVariant& wert) override;
    QVariant wert() const override;
    QString eingabetext() const override { return {}; }

protected:
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    bool menueZeigen(const QPoint& pos);
    void uebernehmen(const QByteArray& daten);
    void bearbeitungBeenden();

    QLabel* m_anzeige;
    QByteArray m_daten;
    Oeffner m_oeffner;
    std::unique_ptr<QTemporaryDir> m_ordner;
    QFileSystemWatcher* m_waechter = nullptr;
    QString m_datei;
    QByteArray m_geoeffnet; // what the temporary file held when it was last taken or written
    bool m_fragt = false;
};

} // namespace kv
