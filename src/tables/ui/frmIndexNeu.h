#pragma once

#include "tables/IndexNeu.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kv::engine {
class TableDef;
}

namespace kv {

/// The modal dialog that adds one index to the table of the structure editor: name and field
/// text (Text1), the table's indexable fields (List1), the properties (Check1) and the buttons.
class frmIndexNeu : public QDialog {
    Q_OBJECT
public:
    /// Indexes of the check boxes Check1.
    enum Eigenschaft { Primaer, Eindeutig, Erforderlich, NullwerteIgnorieren, Anzahl };

    explicit frmIndexNeu(engine::TableDef& tabelle, QWidget* parent = nullptr);

    /// Shows the dialog; true when an index was added.
    static bool oeffne(engine::TableDef& tabelle, QWidget* parent);

    IndexEingabe eingabe() const;

    QLineEdit* Text1(int index) const { return index == 0 ? m_name : m_felder; }
    QListWidget* List1() const { return m_liste; }
    QCheckBox* Check1(int index) const { return m_eigenschaften.at(static_cast<size_t>(index)); }
    QPushButton* okKnopf() const { return m_ok; }
    QPushButton* hinzufuegenKnopf() const { return m_hinzufuegen; }

    /// OK: adds the index; the dialog closes either way, with a result only on success.
    void accept() override;

private:
    void feldHinzufuegen();
    void knoepfeAktualisieren();

    engine::TableDef& m_tabelle;
    QLineEdit* m_name;
    QLineEdit* m_felder;
    QListWidget* m_liste;
    std::array<QCheckBox*, Anzahl> m_eigenschaften {};
    QPushButton* m_hinzufuegen;
    QPushButton* m_ok;
};

} // namespace kv
