#pragma once

#include <QColor>
#include <QVariant>
#include <QWidget>
#include <functional>

namespace kv {

/// What every mask element bound to a field offers the mask window: it shows the record's value,
/// remembers whether the user changed it, and gives the value to write back. The controls of the
/// single kinds derive from it; each is usable alone.
class Feldelement : public QWidget {
    Q_OBJECT
public:
    explicit Feldelement(QWidget* parent = nullptr);

    /// Shows a stored value (a null QVariant for Null) and forgets earlier changes.
    virtual void zeigeWert(const QVariant& wert) = 0;
    /// The value to write into the field: typed where the control knows the type (bool, double,
    /// QDateTime, text, bytes); a null QVariant for an empty entry.
    virtual QVariant wert() const = 0;
    /// The entry as the user sees it while editing (formulas read it); empty for Null.
    virtual QString eingabetext() const;
    /// True when the entry is empty (Null).
    virtual bool leer() const;

    /// The user changed the value since the last zeigeWert.
    bool datenGeaendert() const { return m_geaendert; }
    void setzeDatenGeaendert(bool ja) { m_geaendert = ja; }

    /// Read-only elements show their value but take no entries.
    virtual void setzeNurLesen(bool ja);
    bool nurLesen() const { return m_nurLesen; }

    /// The bound field, for messages and status texts.
    void setzeDatenfeld(const QString& feld) { m_datenfeld = feld; }
    const QString& datenfeld() const { return m_datenfeld; }

    /// The element colours of the mask (an invalid colour keeps the style's).
    virtual void setzeFarben(const QColor& hintergrund, const QColor& text);

    /// How an element's pop-up menu is chosen from: entries "caption;icon", the answer 1-based,
    /// 0 for none. By default a menu at pos.
    using Menueauswahl = std::function<int(const QStringList& eintraege, const QPoint& pos)>;
    void setzeMenueauswahl(Menueauswahl auswahl) { m_menueauswahl = std::move(auswahl); }

Q_SIGNALS:
    /// The user changed the value (zeigeWert does not report).
    void wertGeaendert();

protected:
    /// Marks the value as changed by the user and reports it.
    void meldeAenderung();
    /// Colours for a child that shows the entry.
    void faerbe(QWidget* teil, const QColor& hintergrund, const QColor& text) const;
    /// The chosen entry of a pop-up menu at pos (in this widget's coordinates).
    int waehleAusMenue(const QStringList& eintraege, const QPoint& pos);

private:
    Menueauswahl m_menueauswahl;
    QString m_datenfeld;
    bool m_geaendert = false;
    bool m_nurLesen = false;
};

} // namespace kv
