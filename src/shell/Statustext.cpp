#include "shell/Statustext.h"

namespace kv {

namespace {

std::function<void(const QString&)>& ziel()
{
    static std::function<void(const QString&)> z;
    return z;
}

} // namespace

QString StatustextAnzeige(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("Bereit") : text;
}

void Statustext(const QString& text)
{
    if (ziel())
        ziel()(StatustextAnzeige(text));
}

void setzeStatusziel(std::function<void(const QString&)> z)
{
    ziel() = std::move(z);
}

} // namespace kv
