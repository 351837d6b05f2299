#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace kv {

/// One page of the help.
struct Hilfeseite {
    /// File name inside the help folder.
    QString datei;
    QString titel;
    QStringList stichwoerter;
};

/// One entry of the keyword list.
struct Hilfestichwort {
    QString wort;
    QString datei;

    bool operator==(const Hilfestichwort&) const = default;
};

/// The help pages of a folder (HTML files with a <title> and a keywords meta element) and their
/// keyword list, for the help window's contents and search.
class Hilfeindex {
public:
    /// The contents page, listed first.
    static inline const QString Inhaltsseite = QStringLiteral("inhalt.html");

    /// Reads every "*.html" of ordner (a resource path like ":/hilfe" works as well).
    static Hilfeindex lade(const QString& ordner);

    const QString& ordner() const { return m_ordner; }
    /// The contents page first, then the others by title.
    const QList<Hilfeseite>& seiten() const { return m_seiten; }
    /// All keywords and page titles, in German alphabetical order ignoring case.
    const QList<Hilfestichwort>& stichwoerter() const { return m_stichwoerter; }

    /// Keywords beginning with suchtext (ignoring case and surrounding blanks); when none
    /// begins with it, the keywords that contain it. An empty text gives the whole list.
    QList<Hilfestichwort> suche(const QString& suchtext) const;

    /// Title and keywords of one page's HTML text.
    static Hilfeseite seiteAusHtml(const QString& datei, const QString& html);

private:
    QString m_ordner;
    QList<Hilfeseite> m_seiten;
    QList<Hilfestichwort> m_stichwoerter;
};

} // namespace kv
