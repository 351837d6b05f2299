#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kv::engine::sql {

/// A dialect LIKE pattern: * any text, ? one character, # one digit, [a-z] [!a-z] character
/// classes (ranges in the German order), everything else literal (% and _ too). Case is
/// ignored for all letters, umlauts included.
class LikePattern {
public:
    explicit LikePattern(std::string_view utf8Pattern);

    bool matches(std::string_view utf8Text) const;

private:
    /// Literal pieces between stars are matched on folded bytes; other patterns element by
    /// element.
    enum class Shape { Segments, General };
    struct Element {
        enum Kind { Literal, Any, Digit, Class, Star } kind;
        char32_t ch = 0;
        bool negated = false;
        std::vector<std::pair<char32_t, char32_t>> ranges;
    };

    bool matchesGeneral(std::string_view utf8Text) const;
    static bool classMatches(const Element& e, char32_t c);

    bool matchesSegments(std::string_view folded) const;

    Shape m_shape = Shape::General;
    std::vector<std::string> m_segments; // case-folded UTF-8 pieces between stars
    bool m_anchoredStart = false;
    bool m_anchoredEnd = false;
    std::vector<Element> m_elements;
};

/// Case-folds UTF-8 text (simple folding, one character to one).
void foldCase(std::string_view utf8, std::string& out);

} // namespace kv::engine::sql
