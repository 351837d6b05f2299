#pragma once

#include "tables/StrukturtextBearbeitung.h"

#include <QDialog>

class QFont;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kv {

/// The plain text editor of a mask or table-view definition file: the short name (Text1), the
/// whole definition text (Text2), "Speichern" (write and close) and "Schließen" (asks first
/// when something changed).
class TabellenStrukturEditor : public QDialog {
    Q_OBJECT

public:
    TabellenStrukturEditor(bool maske, const QString& tabelle, const QString& definitionText,
        const QString& datei, const QString& datenbankpfad, QWidget* parent = nullptr);

    /// Shows the editor modally for the database datenbankpfad in the program's font schrift;
    /// returns when it is closed, so that the caller can list a newly written file at once.
    static void oeffne(bool maske, const QString& tabelle, const QString& definitionText,
        const QString& datei, const QString& datenbankpfad, const QFont& schrift, QWidget* parent);

    const StrukturtextBearbeitung& bearbeitung() const { return m_bearbeitung; }

    /// Escape, the window's close button and "Schließen" come here: closes only when the
    /// changes are saved or given up.
    void reject() override;

private:
    void speichern();

    StrukturtextBearbeitung m_bearbeitung;
    QLineEdit* m_name;
    QPlainTextEdit* m_text;
    QPushButton* m_speichern;
    QPushButton* m_schliessen;
};

} // namespace kv
