#pragma once

#include <QString>

namespace kv {

/// True for the engine types whose cells take only numbers (Byte, Integer, Long, Currency,
/// Single, Double and the numeric types of foreign tables).
bool IstZahlentyp(int feldtyp);
/// True for the engine types whose cells take only dates (Date/Time and foreign time types).
bool IstDatumstyp(int feldtyp);

/// The check of a typed cell entry against its field type: an empty text when it may be taken,
/// otherwise the message that refuses it, naming the column and the entry ("Es wurde kein
/// numerischer Wert eingegeben!…"). An empty entry is always taken (it stands for Null).
/// Numbers and dates are read in the user's locale.
QString Typpruefung(int feldtyp, const QString& spaltentitel, const QString& text);

/// The message of a mask's number or date input that refuses an entry (out of its limits or
/// no value at all): "Der Eingabewert ist ungültig!", the field, the entry, both limits as
/// shown (empty when there is none), and the request to correct it, which ends with "!" for
/// dates and "." for numbers.
QString UngueltigerEingabewert(const QString& datenfeld, const QString& wert,
    const QString& minimum, const QString& maximum, bool datum);

} // namespace kv
