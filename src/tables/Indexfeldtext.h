#pragma once

#include "engine/Index.h"

#include <QList>
#include <QString>

namespace kv {

/// An index's fields as the structure editor and the index dialog write them: each name after
/// "+" (ascending) or "-" (descending), joined with ";", e.g. "+Name;-Datum".
QString indexfeldtext(const QList<engine::IndexField>& felder);

/// Reads such a text: pieces split at ";" and trimmed, empty pieces skipped. A leading "-" makes
/// the field descending; leading signs are dropped and the rest, trimmed, is the name, so that a
/// name like "E-Mail" keeps its hyphen.
QList<engine::IndexField> leseIndexfeldtext(const QString& text);

/// The text with "+" and the field name appended, after a ";" when the text is not empty.
QString indexfeldAnhaengen(const QString& text, const QString& feld);

} // namespace kv
