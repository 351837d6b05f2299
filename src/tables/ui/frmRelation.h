#pragma once

#include "tables/Beziehungseingabe.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kv::engine {
class Database;
}

namespace kv {

/// "Relation (Beziehung)": creates a relation or changes one, which is saved as a new relation
/// that replaces the old one in one transaction.
class frmRelation : public QDialog {
    Q_OBJECT
public:
    /// The check boxes of the integrity rules.
    enum Regel { Erzwingen, Aenderungsweitergabe, Loeschweitergabe, Uebernommen, Regelanzahl };

    /// relation: the name of a stored relation, empty for a new one (throws engine::EngineError
    /// 3265 for an unknown name).
    frmRelation(engine::Database& db, const QString& relation, QWidget* parent = nullptr);

    /// Shows the dialog; true when the relation was saved.
    static bool oeffne(engine::Database& db, const QString& relation, QWidget* parent);

    Beziehungseingabe eingabe() const;

    QLineEdit* Text1() const { return m_name; }
    /// 0 base table, 1 foreign table.
    QComboBox* tabellenliste(int seite) const { return m_tabellen.at(static_cast<size_t>(seite)); }
    QComboBox* feldliste(int seite) const { return m_felder.at(static_cast<size_t>(seite)); }
    QRadioButton* einsZuEins() const { return m_einsZuEins; }
    QRadioButton* einsZuN() const { return m_einsZuN; }
    QRadioButton* verknuepfung(Verknuepfungstyp typ) const
    {
        return m_verknuepfung.at(static_cast<size_t>(typ));
    }
    QCheckBox* regel(Regel r) const { return m_regeln.at(static_cast<size_t>(r)); }
    QLabel* weiterePaareAnzeige() const { return m_weitere; }
    QPushButton* speichernKnopf() const { return m_speichern; }

private:
    void tabelleGewaehlt(int seite);
    void speichern();
    void aktualisieren();

    engine::Database& m_db;
    QString m_alterName;
    Beziehungseingabe m_geladen;
    bool m_nameVonHand = false;
    QLineEdit* m_name;
    std::array<QComboBox*, 2> m_tabellen {};
    std::array<QComboBox*, 2> m_felder {};
    QRadioButton* m_einsZuEins;
    QRadioButton* m_einsZuN;
    std::array<QRadioButton*, 3> m_verknuepfung {};
    std::array<QCheckBox*, Regelanzahl> m_regeln {};
    QLabel* m_weitere;
    QPushButton* m_speichern;
};

} // namespace kv
