#include "shell/Leistenlayout.h"

#include "base/Programmverzeichnis.h"
#include "shell/Befehlstabelle.h"
#include "shell/Einstellungen.h"
#include "shell/Menuepersonalisierung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <algorithm>
#include <optional>

namespace kv {

namespace {

const QString Hauptleiste = QStringLiteral("mtbHauptleiste");

// What a band may hold besides commands: sub-menus and the window list of the menus.
bool zulaessigesWerkzeug(const QString& name, bool menue)
{
    if (name.isEmpty() || FindeBefehl(name))
        return true;
    return menue && (!Bandinhalt(name).isEmpty() || name == QLatin1String("MDIListe"));
}

bool bekannterBereich(const QString& bereich)
{
    return bereich == QLatin1String("oben") || bereich == QLatin1String("unten")
        || bereich == QLatin1String("links") || bereich == QLatin1String("rechts");
}

QStringList hauptleistenEintraege()
{
    return Hauptleistendefinition().split(QLatin1Char('|'));
}

QStringList hauptleistenWerkzeuge()
{
    QStringList namen;
    for (const QString& eintrag : hauptleistenEintraege())
        namen.append(eintrag.section(QLatin1Char(';'), 0, 0));
    return namen;
}

std::optional<QJsonObject> objekt(const QByteArray& text)
{
    QJsonParseError fehler;
    const QJsonDocument doc = QJsonDocument::fromJson(text, &fehler);
    if (fehler.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    return doc.object();
}

} // namespace

Leistenlayout Leistenlayout::standard()
{
    Leistenlayout l;
    l.leisten.append({ Hauptleiste, Bandtitel(Hauptleiste), true, QStringLiteral("oben"),
        hauptleistenWerkzeuge(), false, false });
    for (const QString& band : Menuebaender())
        l.leisten.append(
            { band, Bandtitel(band), true, QStringLiteral("oben"), Bandinhalt(band), false, true });
    return l;
}

QByteArray Leistenlayout::layoutText() const
{
    QJsonArray liste;
    for (const Leistenbelegung& l : leisten) {
        liste.append(QJsonObject {
            { QStringLiteral("name"), l.name },
            { QStringLiteral("titel"), l.titel },
            { QStringLiteral("sichtbar"), l.sichtbar },
            { QStringLiteral("bereich"), l.bereich },
            { QStringLiteral("eigene"), l.eigene },
            { QStringLiteral("menue"), l.menue },
            { QStringLiteral("werkzeuge"), QJsonArray::fromStringList(l.werkzeuge) },
        });
    }
    return QJsonDocument(QJsonObject { { QStringLiteral("leisten"), liste } }).toJson();
}

QByteArray Leistenlayout::aenderungsText() const
{
    QJsonArray liste;
    for (const Textaenderung& t : texte) {
        liste.append(QJsonObject {
            { QStringLiteral("leiste"), t.leiste },
            { QStringLiteral("werkzeug"), t.werkzeug },
            { QStringLiteral("text"), t.text },
            { QStringLiteral("tooltip"), t.tooltip },
        });
    }
    const QJsonObject optionenObjekt {
        { QStringLiteral("grosseSymbole"), optionen.grosseSymbole },
        { QStringLiteral("quickinfo"), optionen.quickinfo },
        { QStringLiteral("tastenInQuickinfo"), optionen.tastenInQuickinfo },
        { QStringLiteral("personalisiert"), optionen.personalisiert },
        { QStringLiteral("vollstaendigNachVerzoegerung"), optionen.vollstaendigNachVerzoegerung },
        { QStringLiteral("animation"), static_cast<int>(optionen.animation) },
    };
    return QJsonDocument(
        QJsonObject { { QStringLiteral("optionen"), optionenObjekt },
            { QStringLiteral("texte"), liste }, { QStringLiteral("tasten"), tasten.alsJson() },
            { QStringLiteral("zuletztVerwendet"), QJsonArray::fromStringList(zuletztVerwendet) } })
        .toJson();
}

bool Leistenlayout::layoutLesen(const QByteArray& text)
{
    const std::optional<QJsonObject> wurzel = objekt(text);
    if (!wurzel || !wurzel->value(QStringLiteral("leisten")).isArray())
        return false;
    QList<Leistenbelegung> gelesen;
    for (const QJsonValue& wert : wurzel->value(QStringLiteral("leisten")).toArray()) {
        const QJsonObject o = wert.toObject();
        Leistenbelegung l;
        l.name = o.value(QStringLiteral("name")).toString();
        l.titel = o.value(QStringLiteral("titel")).toString();
        l.sichtbar = o.value(QStringLiteral("sichtbar")).toBool(true);
        l.bereich = o.value(QStringLiteral("bereich")).toString();
        l.eigene = o.value(QStringLiteral("eigene")).toBool();
        l.menue = o.value(QStringLiteral("menue")).toBool();
        if (l.name.isEmpty() || l.titel.isEmpty() || !bekannterBereich(l.bereich)
            || !o.value(QStringLiteral("werkzeuge")).isArray())
            return false;
        if (l.menue ? (l.eigene || !Menuebaender().contains(l.name))
                    : (!l.eigene && l.name != Hauptleiste))
            return false;
        for (const QJsonValue& w : o.value(QStringLiteral("werkzeuge")).toArray()) {
            const QString name = w.toString();
            if (zulaessigesWerkzeug(name, l.menue))
                l.werkzeuge.append(name);
        }
        gelesen.append(l);
    }
    // The designed bands always exist, even when a file lost one.
    const Leistenlayout designt = standard();
    for (qsizetype i = 0; i < designt.leisten.size(); ++i) {
        const Leistenbelegung& d = designt.leisten.at(i);
        if (std::none_of(gelesen.cbegin(), gelesen.cend(),
                [&](const Leistenbelegung& l) { return l.name == d.name; }))
            gelesen.insert(std::min(i, gelesen.size()), d);
    }
    leisten = gelesen;
    return true;
}

bool Leistenlayout::aenderungenLesen(const QByteArray& text)
{
    const std::optional<QJsonObject> wurzel = objekt(text);
    if (!wurzel || !wurzel->value(QStringLiteral("texte")).isArray())
        return false;
    const QJsonObject o = wurzel->value(QStringLiteral("optionen")).toObject();
    Leistenoptionen op;
    op.grosseSymbole = o.value(QStringLiteral("grosseSymbole")).toBool(op.grosseSymbole);
    op.quickinfo = o.value(QStringLiteral("quickinfo")).toBool(op.quickinfo);
    op.tastenInQuickinfo
        = o.value(QStringLiteral("tastenInQuickinfo")).toBool(op.tastenInQuickinfo);
    op.personalisiert = o.value(QStringLiteral("personalisiert")).toBool(op.personalisiert);
    op.vollstaendigNachVerzoegerung = o.value(QStringLiteral("vollstaendigNachVerzoegerung"))
                                          .toBool(op.vollstaendigNachVerzoegerung);
    const int animation = o.value(QStringLiteral("animation")).toInt(0);
    if (animation >= 0 && animation <= static_cast<int>(Menueanimation::Abrollen))
        op.animation = static_cast<Menueanimation>(animation);
    QList<Textaenderung> gelesen;
    for (const QJsonValue& wert : wurzel->value(QStringLiteral("texte")).toArray()) {
        const QJsonObject t = wert.toObject();
        Textaenderung a { t.value(QStringLiteral("leiste")).toString(),
            t.value(QStringLiteral("werkzeug")).toString(),
            t.value(QStringLiteral("text")).toString(),
            t.value(QStringLiteral("tooltip")).toString() };
        if (!a.leiste.isEmpty() && !a.werkzeug.isEmpty())
            gelesen.append(a);
    }
    QStringList zuletzt;
    for (const QJsonValue& wert : wurzel->value(QStringLiteral("zuletztVerwendet")).toArray()) {
        if (FindeBefehl(wert.toString()) && zuletzt.size() < Menuepersonalisierung::MaxZuletzt)
            zuletzt.append(wert.toString());
    }
    optionen = op;
    texte = gelesen;
    zuletztVerwendet = zuletzt;
    tasten = Tastenbelegung::ausJson(wurzel->value(QStringLiteral("tasten")).toObject());
    return true;
}

Leistenbelegung* Leistenlayout::leiste(const QString& name)
{
    for (Leistenbelegung& l : leisten) {
        if (l.name == name)
            return &l;
    }
    return nullptr;
}

const Leistenbelegung* Leistenlayout::leiste(const QString& name) const
{
    return const_cast<Leistenlayout*>(this)->leiste(name);
}

QString Leistenlayout::neueLeiste(const QString& titel)
{
    const QString t = titel.trimmed();
    if (t.isEmpty())
        return {};
    for (const Leistenbelegung& l : std::as_const(leisten)) {
        if (l.titel.compare(t, Qt::CaseInsensitive) == 0)
            return {};
    }
    int nummer = 1;
    while (leiste(QStringLiteral("Benutzer%1").arg(nummer)))
        ++nummer;
    const QString name = QStringLiteral("Benutzer%1").arg(nummer);
    leisten.append({ name, t, true, QStringLiteral("oben"), {}, true, false });
    return name;
}

bool Leistenlayout::umbenennen(const QString& name, const QString& titel)
{
    const QString t = titel.trimmed();
    Leistenbelegung* l = leiste(name);
    if (!l || l->menue || t.isEmpty())
        return false;
    for (const Leistenbelegung& andere : std::as_const(leisten)) {
        if (andere.name != name && andere.titel.compare(t, Qt::CaseInsensitive) == 0)
            return false;
    }
    l->titel = t;
    return true;
}

bool Leistenlayout::loeschen(const QString& name)
{
    const Leistenbelegung* l = leiste(name);
    if (!l || !l->eigene)
        return false;
    leisten.removeIf([&](const Leistenbelegung& x) { return x.name == name; });
    texte.removeIf([&](const Textaenderung& t) { return t.leiste == name; });
    return true;
}

void Leistenlayout::zuruecksetzen(const QString& name)
{
    Leistenbelegung* l = leiste(name);
    if (!l)
        return;
    const Leistenlayout designt = standard();
    if (const Leistenbelegung* d = designt.leiste(name)) {
        l->werkzeuge = d->werkzeuge;
        l->titel = d->titel;
    } else {
        l->werkzeuge.clear();
    }
    texte.removeIf([&](const Textaenderung& t) { return t.leiste == name; });
}

bool Leistenlayout::hinzufuegen(const QString& name, const QString& werkzeug, int position)
{
    Leistenbelegung* l = leiste(name);
    if (!l || (!werkzeug.isEmpty() && !FindeBefehl(werkzeug)))
        return false;
    if (position < 0 || position > l->werkzeuge.size())
        position = int(l->werkzeuge.size());
    l->werkzeuge.insert(position, werkzeug);
    return true;
}

bool Leistenlayout::entfernen(const QString& name, int position)
{
    Leistenbelegung* l = leiste(name);
    if (!l || position < 0 || position >= l->werkzeuge.size())
        return false;
    l->werkzeuge.removeAt(position);
    return true;
}

const Textaenderung* Leistenlayout::text(const QString& leiste, const QString& werkzeug) const
{
    for (const Textaenderung& t : texte) {
        if (t.leiste == leiste && t.werkzeug == werkzeug)
            return &t;
    }
    return nullptr;
}

void Leistenlayout::setzeText(
    const QString& leiste, const QString& werkzeug, const QString& text, const QString& tooltip)
{
    texte.removeIf(
        [&](const Textaenderung& t) { return t.leiste == leiste && t.werkzeug == werkzeug; });
    if (!text.isEmpty() || !tooltip.isEmpty())
        texte.append({ leiste, werkzeug, text, tooltip });
}

Werkzeugtexte Leistenlayout::designteTexte(const QString& werkzeug)
{
    for (const QString& eintrag : hauptleistenEintraege()) {
        if (eintrag.section(QLatin1Char(';'), 0, 0) == werkzeug)
            return { eintrag.section(QLatin1Char(';'), 1, 1),
                eintrag.section(QLatin1Char(';'), 3, 3) };
    }
    const Befehl* b = FindeBefehl(werkzeug);
    if (!b)
        return {};
    return { QString(b->text).remove(QLatin1Char('&')), b->beschreibung };
}

Werkzeugtexte Leistenlayout::anzeigetexte(const QString& leiste, const QString& werkzeug) const
{
    Werkzeugtexte t = designteTexte(werkzeug);
    if (const Textaenderung* a = text(leiste, werkzeug)) {
        if (!a->text.isEmpty())
            t.text = a->text;
        if (!a->tooltip.isEmpty())
            t.tooltip = a->tooltip;
    }
    return t;
}

void Leistenlayout::aendereTexte(
    const QString& leiste, const QString& werkzeug, const Werkzeugtexte& texte)
{
    const Werkzeugtexte designt = designteTexte(werkzeug);
    const QString text = texte.text.trimmed() == designt.text ? QString() : texte.text.trimmed();
    const QString tooltip
        = texte.tooltip.trimmed() == designt.tooltip ? QString() : texte.tooltip.trimmed();
    setzeText(leiste, werkzeug, text, tooltip);
}

namespace {

QString layoutname(const QString& endung)
{
    return QStringLiteral("KelvadMenu") + endung;
}

/// The user's file, else the one the installation brings along.
std::optional<QByteArray> leseLayoutdatei(const QString& endung)
{
    const QStringList pfade { Layoutpfad(endung), Programmverzeichnis() + layoutname(endung) };
    for (const QString& pfad : pfade) {
        QFile datei(pfad);
        if (datei.open(QIODevice::ReadOnly))
            return datei.readAll();
    }
    return std::nullopt;
}

} // namespace

QString Layoutpfad(const QString& endung)
{
    return QDir(Einstellungen::speicherordner()).filePath(layoutname(endung));
}

void LayoutLaden(Leistenlayout& layout)
{
    if (const std::optional<QByteArray> text = leseLayoutdatei(QStringLiteral(".cb2")))
        layout.layoutLesen(*text);
    if (const std::optional<QByteArray> text = leseLayoutdatei(QStringLiteral(".chg")))
        layout.aenderungenLesen(*text);
}

bool LayoutSpeichern(const Leistenlayout& layout)
{
    bool ok = true;
    for (const auto& [endung, text] : { std::pair { QStringLiteral(".cb2"), layout.layoutText() },
             std::pair { QStringLiteral(".chg"), layout.aenderungsText() } }) {
        const QString pfad = Layoutpfad(endung);
        QDir().mkpath(QFileInfo(pfad).path());
        QSaveFile datei(pfad);
        ok = datei.open(QIODevice::WriteOnly) && datei.write(text) == text.size() && datei.commit()
            && ok;
    }
    return ok;
}

} // namespace kv
