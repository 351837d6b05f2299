#pragma once

#include "masks/Elementeinstellungen.h"
#include "widgets/Feldelement.h"

class QComboBox;
class QStandardItemModel;
class QTableView;

namespace kv {

/// The drop-down list of a mask ("EingabeCombobox"): rows of several columns, some hidden; the
/// closed list shows the display column, choosing a row writes its link column's value into the
/// field. The drop-down is as wide as the shown columns together. Delete empties the choice.
class Spaltenliste : public Feldelement {
    Q_OBJECT
public:
    explicit Spaltenliste(QWidget* parent = nullptr);

    /// Columns, link and display column, the lock; the rows come with setzeZeilen.
    void setzeEinstellungen(const ComboboxEinstellungen& e);
    /// The list rows, each one value per column (missing values empty). Without column
    /// definitions the columns are named by spaltennamen (or numbered from 1).
    void setzeZeilen(const QList<QVariantList>& zeilen, const QStringList& spaltennamen = {});
    int zeilenanzahl() const;
    /// The value of a cell as stored.
    QVariant zellwert(int zeile, int spalte) const;
    QList<Combospalte> spalten() const { return m_spalten; }
    int verknuepfungsspalte() const { return m_verknuepfung; }
    int anzeigespalte() const { return m_anzeige; }
    /// Pixels of the drop-down's columns together.
    int listenbreite() const;

    /// The chosen row; -1 for none.
    int gewaehlt() const;
    /// As if the user chose row zeile (-1 empties the choice).
    void waehle(int zeile);
    /// The text the closed list shows.
    QString anzeigetext() const;

    /// Chooses the row whose link value equals the stored one; a value the list lacks is shown
    /// as it is, with no row chosen.
    void zeigeWert(const QVariant& wert) override;
    /// The chosen row's link value; Null without a choice.
    QVariant wert() const override;
    QString eingabetext() const override { return anzeigetext(); }
    void setzeNurLesen(bool ja) override;
    void setzeFarben(const QColor& hintergrund, const QColor& text) override;

    QComboBox* box() const { return m_box; }
    QTableView* liste() const { return m_liste; }

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void spaltenAnwenden();
    int spalteNamens(const QString& name, int vorgabe) const;

    QComboBox* m_box;
    QTableView* m_liste;
    QStandardItemModel* m_modell;
    ComboboxEinstellungen m_e;
    QList<Combospalte> m_spalten;
    int m_verknuepfung = 0;
    int m_anzeige = 0;
    bool m_zeigt = false;
};

/// Whether a list value equals a stored one: numbers as numbers, dates as dates, texts without
/// regard to case.
bool listenwertPasst(const QVariant& liste, const QVariant& gespeichert);

} // namespace kv
