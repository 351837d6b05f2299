#include "shell/SendKeys.h"

#include "shell/DeutscheTastatur.h"

#include <array>

namespace kv {

namespace {

constexpr int VkShift = 16;
constexpr int VkCtrl = 17;
constexpr int VkAlt = 18;
constexpr int VkEnter = 13;

struct Tastenname {
    const char* name;
    int code;
};

constexpr std::array<Tastenname, 32> tastennamen { {
    { "SHIFT", VkShift },
    { "UMSCHALT", VkShift },
    { "UMSCH", VkShift },
    { "CTRL", VkCtrl },
    { "STRG", VkCtrl },
    { "CONTROL", VkCtrl },
    { "ALT", VkAlt },
    { "BACKSPACE", 8 },
    { "BS", 8 },
    { "BKSP", 8 },
    { "BACK", 8 },
    { "BREAK", 19 },
    { "CAPSLOCK", 20 },
    { "DELETE", 46 },
    { "DEL", 46 },
    { "DOWN", 40 },
    { "END", 35 },
    { "ENTER", VkEnter },
    { "ESC", 27 },
    { "ESCAPE", 27 },
    { "HOME", 36 },
    { "INSERT", 45 },
    { "INS", 45 },
    { "LEFT", 37 },
    { "NUMLOCK", 144 },
    { "PGDN", 34 },
    { "PGUP", 33 },
    { "PRTSC", 44 },
    { "RIGHT", 39 },
    { "SCROLLLOCK", 145 },
    { "TAB", 9 },
    { "UP", 38 },
} };

// Characters that have a meaning of their own in a key string and are written in braces.
bool istSonderzeichen(const QString& name)
{
    return name.size() == 1 && QStringLiteral("{}[]+^%~").contains(name.front());
}

void anhaengen(std::vector<KeyEvent>& ziel, const std::vector<KeyEvent>& teil)
{
    ziel.insert(ziel.end(), teil.begin(), teil.end());
}

// A character key: its key and shift state from the layout, merged with the pending modifiers.
std::vector<KeyEvent> zeichenTaste(QChar zeichen, int modifiers, int anzahl)
{
    const auto taste = DeutscheTastatur::taste(zeichen);
    if (!taste)
        return {};
    const int alle = modifiers | taste->umschaltung;
    return SendKeys::press(taste->code, alle, anzahl, DeutscheTastatur::zeichen(taste->code, alle));
}

// The keys of one group's text (between the braces), "" for an unknown name.
std::vector<KeyEvent> gruppe(const QString& text, int modifiers)
{
    QString name = text.trimmed();
    int anzahl = 1;
    bool mitAnzahl = false;
    const qsizetype blank = name.lastIndexOf(QLatin1Char(' '));
    if (blank > 0) {
        bool ok = false;
        const int n = name.mid(blank + 1).toInt(&ok);
        if (!ok || n > SendKeys::MaxAnzahl)
            return {};
        anzahl = n;
        mitAnzahl = true;
        name = name.left(blank).trimmed();
    }
    if (istSonderzeichen(name) && !(mitAnzahl && name == QLatin1String("~")))
        return zeichenTaste(name.front(), modifiers, anzahl);
    const int code = SendKeys::codeFuerName(name, mitAnzahl);
    if (code == 0)
        return {};
    return SendKeys::press(code, modifiers, anzahl, DeutscheTastatur::zeichen(code, modifiers));
}

} // namespace

std::vector<KeyEvent> SendKeys::press(int code, int modifiers, int count, QChar zeichen)
{
    std::vector<KeyEvent> ereignisse;
    if (count < 1)
        return ereignisse;
    const std::array<std::pair<int, int>, 3> umschalter { { { UmschaltTaste, VkShift },
        { StrgTaste, VkCtrl }, { AltTaste, VkAlt } } };
    for (const auto& [bit, vk] : umschalter) {
        if (modifiers & bit)
            ereignisse.push_back({ true, vk, {} });
    }
    for (int i = 0; i < count; ++i) {
        ereignisse.push_back({ true, code, zeichen });
        ereignisse.push_back({ false, code, zeichen });
    }
    for (std::size_t i = umschalter.size(); i-- > 0;) {
        if (modifiers & umschalter[i].first)
            ereignisse.push_back({ false, umschalter[i].second, {} });
    }
    return ereignisse;
}

int SendKeys::codeFuerName(const QString& name, bool mitAnzahl)
{
    const QString gross = name.toUpper();
    if (mitAnzahl && gross == QLatin1String("~"))
        return VkEnter;
    // With a count the print-screen name gives the print key; the other names keep their code.
    if (mitAnzahl && gross == QLatin1String("PRTSC"))
        return 42;
    for (const Tastenname& t : tastennamen) {
        if (gross == QLatin1String(t.name))
            return t.code;
    }
    if (gross.size() >= 2 && gross.front() == QLatin1Char('F')) {
        bool ok = false;
        const int n = gross.mid(1).toInt(&ok);
        if (ok && n >= 1 && n <= 16 && gross.mid(1) == QString::number(n))
            return 111 + n;
    }
    return 0;
}

std::vector<KeyEvent> SendKeys::parse(const QString& keys)
{
    std::vector<KeyEvent> ereignisse;
    int modifiers = 0;
    qsizetype i = 0;
    while (i < keys.size()) {
        const QChar c = keys[i];
        if (c == QLatin1Char('+')) {
            modifiers |= UmschaltTaste;
            ++i;
            continue;
        }
        if (c == QLatin1Char('^')) {
            modifiers |= StrgTaste;
            ++i;
            continue;
        }
        if (c == QLatin1Char('%')) {
            modifiers |= AltTaste;
            ++i;
            continue;
        }
        if (c == QLatin1Char('~')) {
            anhaengen(ereignisse,
                press(VkEnter, modifiers, 1, DeutscheTastatur::zeichen(VkEnter, modifiers)));
        } else if (c == QLatin1Char('{')) {
            const qsizetype ende = keys.indexOf(QLatin1Char('}'), i + 1);
            if (ende < 0)
                break; // the rest of the string is the unfinished group
            const QString text = keys.mid(i + 1, ende - i - 1);
            i = ende;
            if (text.trimmed().isEmpty() && i + 1 < keys.size()
                && keys[i + 1] == QLatin1Char('}')) {
                anhaengen(ereignisse, zeichenTaste(QLatin1Char('}'), modifiers, 1));
                ++i;
            } else {
                anhaengen(ereignisse, gruppe(text, modifiers));
            }
        } else {
            anhaengen(ereignisse, zeichenTaste(c, modifiers, 1));
        }
        modifiers = 0;
        ++i;
    }
    return ereignisse;
}

} // namespace kv
