#pragma once

#include "base/Dialoge.h"

namespace kv {

/// The Qt message boxes and file dialogs behind the dialog seam.
class QtDialoge : public Dialoge {
public:
    Antwort meldung(const Meldung& m) override;
    std::optional<QString> eingabe(
        const QString& aufforderung, const QString& titel, const QString& vorgabe) override;
    DateiDialogErgebnis dateiDialog(const DateiDialogOptionen& o) override;
};

} // namespace kv
