#pragma once

#include <QString>
#include <QStringList>

namespace kv {

/// The text up to the first NUL character (all of it when there is none).
QString TrimNul(const QString& text);

/// Pieces of a split text, numbered from 1 as the definition-file readers count them.
class Teilliste {
public:
    explicit Teilliste(QStringList teile = {})
        : m_teile(std::move(teile))
    { }

    int count() const { return int(m_teile.size()); }
    /// Piece n (1-based). Outside 1..count() an empty text, so that readers can probe
    /// optional trailing fields of short lines without checking the count first.
    const QString& operator[](int n) const;
    /// The pieces 0-based.
    const QStringList& liste() const { return m_teile; }

    auto begin() const { return m_teile.cbegin(); }
    auto end() const { return m_teile.cend(); }

private:
    QStringList m_teile;
};

/// The text without blanks at either end; tabs and other white space stay, since definition
/// values may carry them.
QString ohneLeerzeichen(QStringView text);

/// Splits at every exact occurrence of trenner and trims blanks from each piece. The text after
/// the last separator is the last piece, so an empty text gives one empty piece.
Teilliste Teile(const QString& text, const QString& trenner);

/// Replaces every occurrence of suche from left to right, continuing after each inserted
/// replacement (so a replacement containing suche is not replaced again). A null text stays null;
/// an empty suche changes nothing.
void ErsetzeAlle(QString& text, const QString& suche, const QString& ersatz);

} // namespace kv
