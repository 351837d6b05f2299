#pragma once

#include "base/Dialoge.h"

#include <QString>
#include <QStringList>

namespace kv {

/// The Qt message boxes, input box and file dialogs behind the dialog seam, parented to the
/// active window and labelled in German.
class QtDialoge : public Dialoge {
public:
    /// standardTitel is the caption of boxes shown without one; empty means the application's
    /// display name.
    explicit QtDialoge(QString standardTitel = QString());

    Antwort meldung(const Meldung& m) override;
    std::optional<QString> eingabe(
        const QString& aufforderung, const QString& titel, const QString& vorgabe) override;
    DateiDialogErgebnis dateiDialog(const DateiDialogOptionen& o) override;

    /// "Text|Muster|Text|Muster" (patterns separated by ";") as Qt name filters
    /// "Text (Muster Muster)". An entry without pattern matches every file.
    static QStringList namensfilter(const QString& filter);

    /// Caption of the check box that file-open dialogs offer for read-only opening.
    static QString schreibgeschuetztText();

private:
    QString titelOderStandard(const QString& titel) const;

    QString m_standardTitel;
};

} // namespace kv
