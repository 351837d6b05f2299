#pragma once

#include <QStringView>
#include <optional>

namespace kv::engine {

/// The groups of words a text may use for a yes/no value. Each reader of texts names the groups
/// it accepts, so that what a user may type stays what that place has always taken.
enum BooleanWords : unsigned {
    JaNein = 1, ///< ja / nein
    WahrFalsch = 2, ///< wahr / falsch
    TrueFalse = 4, ///< true / false
    YesNo = 8, ///< yes / no
    EinAus = 16, ///< ein, an, on / aus, off
    EinsNull = 32, ///< -1, 1 / 0
};

/// The value a word of the groups words stands for, compared without regard to case and to
/// blanks around it; nullopt for any other text (a caller may go on to read a number).
std::optional<bool> booleanFromWord(QStringView text, unsigned words);

} // namespace kv::engine
