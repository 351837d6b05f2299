#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace kv {

/// The mask element kinds; the value is the kind's id in mask definition files.
enum class Maskenelementart {
    EingabeText = 0,
    EingabeTextMemo = 1,
    EingabeGanzzahl = 2,
    EingabeZahl = 3,
    EingabeDatum = 4,
    EingabeCheckbox = 5,
    EingabeOptionbox = 6,
    AnzeigeText = 7,
    AnzeigeBild = 8,
    AnzeigeStatikbild = 9,
    AnzeigeOLE = 10,
    EingabeCombobox = 11,
    EingabeTabelle = 12,
};

/// The 13 kind names, index = id.
const QStringList& Maskenelementarten();

QString maskenelementname(Maskenelementart art);

/// The kind of a line key, compared upper-cased; nullopt for an unknown key.
std::optional<Maskenelementart> maskenelementart(const QString& name);

} // namespace kv
