#pragma once

#include "tables/Datenaustausch.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressDialog;
class QPushButton;
class QTabWidget;

namespace kv {

/// Copies the records of one table into another by one generated SQL statement: out of another
/// file into the open database (import) or the reverse (export). Tab "Automatik" generates the
/// statement from the chosen tables, tab "Manuelle SQL-Eingabe" runs the SQL field as typed.
class frmImportTabellen : public QDialog {
    Q_OBJECT
public:
    frmImportTabellen(engine::Database& offen, bool export_, QWidget* parent = nullptr);

    QListWidget* List1() const { return m_list1; }
    QLineEdit* Text1() const { return m_text1; }
    QCheckBox* Check1() const { return m_check1; }
    QPlainTextEdit* Text2() const { return m_text2; }
    QComboBox* QueryCombo() const { return m_queryCombo; }
    QTabWidget* Reiter() const { return m_reiter; }
    QPushButton* Dateiknopf() const { return m_datei; }
    QPushButton* Startknopf() const { return m_start; }
    QPushButton* Speicherknopf() const { return m_speichern; }
    QLabel* Statuszeile() const { return m_status; }
    const Datenaustausch& austausch() const { return m_austausch; }

    /// File button: asks for the other file and lists its tables.
    void dateiWaehlen();
    /// Start button: confirms and runs the statement.
    void starten();
    /// "Abfrage &speichern".
    void abfrageSpeichern();

    /// How long the work runs before its progress box appears (a moment by default).
    void setzeFortschrittsverzoegerung(int ms) { m_fortschrittVerzoegerung = ms; }
    /// Called with the progress box each time it has been brought up to date (for tests, which
    /// cancel through it as a user would).
    void beobachteFortschritt(std::function<void(QProgressDialog*)> f)
    {
        m_fortschrittBeobachter = std::move(f);
    }

private:
    void tabellenZeigen();
    void abfragenZeigen();
    void knoepfePruefen();
    void setzeStatus(const QString& text);
    bool automatik() const;
    void zeigeErgebnis(qint64 anzahl);

    Datenaustausch m_austausch;
    QListWidget* m_list1;
    QLineEdit* m_text1;
    QCheckBox* m_check1;
    QPlainTextEdit* m_text2;
    QComboBox* m_queryCombo;
    QTabWidget* m_reiter;
    QPushButton* m_datei;
    QPushButton* m_start;
    QPushButton* m_speichern;
    QLabel* m_dateiname;
    QLabel* m_status;
    int m_fortschrittVerzoegerung = 500;
    std::function<void(QProgressDialog*)> m_fortschrittBeobachter;
};

} // namespace kv
