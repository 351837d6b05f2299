#include "widgets/QtDialoge.h"

#include <QInputDialog>
#include <QMessageBox>

namespace kv {

// Minimal until the full seam lands.
Antwort QtDialoge::meldung(const Meldung& m)
{
    QMessageBox::information(nullptr, m.titel, m.text);
    return Antwort::Ok;
}

std::optional<QString> QtDialoge::eingabe(
    const QString& aufforderung, const QString& titel, const QString& vorgabe)
{
    bool ok = false;
    const QString text
        = QInputDialog::getText(nullptr, titel, aufforderung, QLineEdit::Normal, vorgabe, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

DateiDialogErgebnis QtDialoge::dateiDialog(const DateiDialogOptionen&)
{
    return {};
}

} // namespace kv
