#pragma once

#include <QList>
#include <QString>
#include <QVariant>

namespace kv {

namespace engine {
class Recordset;
}
struct Tabellendefinition;

/// One field of the record that is copied.
struct Kopierfeld {
    QString name;
    QVariant wert;
    /// Engine type code; long binary fields are left out of the template-less copy.
    qint16 typ = 0;
    /// The format the field is shown with; empty: the general form.
    QString format;
};

/// The text the copy command ("Kopie") puts on the clipboard, shared by table views and masks.
/// Without a template: every field but long binary ones as shown, each followed by a line
/// break. With one: "{Feld}" (field names ignoring case) replaced by the field's shown value,
/// "<crlf>" by a line break, everything else as written, so unknown names stay in braces.
/// Values are inserted once: braces inside a value are never read as a reference.
QString kopiertext(const QString& vorlage, const QList<Kopierfeld>& felder);

/// The fields of the record set's current record, each with the format the grid shows it in:
/// the format of its column in the view when it has one, else the default of its type.
/// ansicht may be null (masks).
QList<Kopierfeld> kopierfelder(engine::Recordset& datensatz, const Tabellendefinition* ansicht);

} // namespace kv
