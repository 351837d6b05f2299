#pragma once

#include <QList>
#include <QString>

class QFont;

namespace kv {

namespace engine {
class TableDef;
}

/// A field as the standard mask needs it.
struct Maskenfeld {
    QString name;
    /// Engine type code.
    qint16 typ = 0;
};

/// The designer names the standard mask "Standardmaske" and writes "Oben"; the mask window's own
/// generator writes "Standard-Maske" and "oben".
enum class Standardmaskenvariante { Designer, Fenster };

/// Twips of one element line: the text height of the font plus 100.
int standardZeilenhoehe(double textHoeheTwips);
/// The same from a font's metrics on the primary screen (needs a GUI application).
int standardZeilenhoehe(const QFont& schrift);

/// The fields of a table in their order.
QList<Maskenfeld> maskenfelder(engine::TableDef& tabelle);

/// The definition of a table's standard mask: header, one element per field from top 100
/// downwards (memo three lines high, Boolean a check box, long binary left out, everything else
/// a text input), 100 twips between elements, and "Höhe: " with the final top after the
/// elements.
QString standardmaskentext(const QString& tabelle, const QList<Maskenfeld>& felder, int zeilenhoehe,
    Standardmaskenvariante variante);

} // namespace kv
