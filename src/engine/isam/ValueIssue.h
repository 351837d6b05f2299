#pragma once

#include <QString>
#include <QVariant>
#include <functional>

namespace kv::engine::isam {

/// Why a written value differs from the value handed in.
enum class IssueKind {
    TextCut, ///< text longer than the field
    NumberOutOfRange, ///< number does not fit the field's range or width
    NumberRounded, ///< number has more decimals than the field keeps
    DateOutOfRange, ///< date outside what the format can hold
    TimeDropped, ///< the format keeps the date only
    CharactersMissing, ///< characters the target code page lacks (written as "?")
    NotRepresentable, ///< a value the field cannot hold at all (Null in a format without Null, …)
};

/// German name of an issue kind, as the verification report shows it.
QString issueKindText(IssueKind kind);

/// One value that did not arrive unchanged.
struct ValueIssue {
    qint64 row = 0; ///< 1-based row of the target table
    int field = 0; ///< field position in the target table
    QString fieldName;
    QVariant source; ///< the value handed in
    QVariant target; ///< the value as the file now holds it
    IssueKind kind = IssueKind::TextCut;
};

/// Receives every changed value of a write; the verification report is one such receiver.
using IssueSink = std::function<void(const ValueIssue&)>;

} // namespace kv::engine::isam
