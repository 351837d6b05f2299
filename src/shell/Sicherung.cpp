#include "shell/Sicherung.h"

#include "base/Fehlermeldung.h"
#include "base/Programmverzeichnis.h"
#include "shell/IniDatei.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <zip.h>

#include <algorithm>
#include <filesystem>
#include <memory>

namespace kv {

namespace {

const QString VerzeichnisSchluessel = QStringLiteral("Verzeichnis");
const QString KommentarVorsatz = QStringLiteral("Kelvado-Sicherung aus: ");

QString mitTrenner(const QString& verzeichnis)
{
    if (verzeichnis.isEmpty() || verzeichnis.endsWith(u'/') || verzeichnis.endsWith(u'\\'))
        return verzeichnis;
    return verzeichnis + u'/';
}

/// A name beside pfad that does not exist yet.
QString freierName(const QString& pfad)
{
    for (int n = 0;; ++n) {
        const QString kandidat = pfad + QStringLiteral(".~kv") + QString::number(n);
        if (!QFileInfo::exists(kandidat))
            return kandidat;
    }
}

std::filesystem::path fsPfad(const QString& pfad)
{
    return std::filesystem::path(QFile::encodeName(pfad).toStdString());
}

/// Replaces ziel by quelle in one step (an existing ziel is overwritten).
bool ersetze(const QString& quelle, const QString& ziel)
{
    std::error_code fehler;
    std::filesystem::rename(fsPfad(quelle), fsPfad(ziel), fehler);
    return !fehler;
}

QString zipGrund(int code)
{
    switch (code) {
    case ZIP_ER_NOZIP:
        return QStringLiteral("Die Datei ist kein Zip-Archiv oder sie ist beschädigt.");
    case ZIP_ER_INCONS:
    case ZIP_ER_CRC:
    case ZIP_ER_EOF:
    case ZIP_ER_COMPNOTSUPP:
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_ZLIB:
        return QStringLiteral("Das Archiv ist beschädigt.");
    case ZIP_ER_OPEN:
    case ZIP_ER_NOENT:
        return QStringLiteral("Die Datei kann nicht geöffnet werden.");
    case ZIP_ER_READ:
        return QStringLiteral("Die Datei kann nicht gelesen werden.");
    case ZIP_ER_TMPOPEN:
    case ZIP_ER_WRITE:
    case ZIP_ER_RENAME:
    case ZIP_ER_CLOSE:
        return QStringLiteral("Die Datei kann nicht geschrieben werden.");
    default: {
        zip_error_t fehler;
        zip_error_init_with_code(&fehler, code);
        const QString text = QString::fromUtf8(zip_error_strerror(&fehler));
        zip_error_fini(&fehler);
        return QStringLiteral("Fehler ") + QString::number(code) + QStringLiteral(": ") + text;
    }
    }
}

QString meldungMitPfad(const QString& satz, const QString& pfad, const QString& grund)
{
    const QChar z = Zeilenumbruch;
    return satz + z + z + QDir::toNativeSeparators(pfad) + z + z + grund;
}

/// Only plain file names are restored: no folders, no way out of the target directory.
bool sichererName(const QString& name)
{
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\')
        && name != QStringLiteral(".") && name != QStringLiteral("..");
}

struct ZipSchliesser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
using ZipArchiv = std::unique_ptr<zip_t, ZipSchliesser>;

ZipArchiv oeffneLesend(const QString& archiv, QString* fehler)
{
    int code = 0;
    zip_t* z = zip_open(QFile::encodeName(archiv).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!z && fehler)
        *fehler = meldungMitPfad(
            QStringLiteral("Das Archiv kann nicht gelesen werden:"), archiv, zipGrund(code));
    return ZipArchiv(z);
}

/// Index of every plain file name in the archive.
QHash<QString, zip_uint64_t> namen(zip_t* z)
{
    QHash<QString, zip_uint64_t> ergebnis;
    const zip_int64_t anzahl = zip_get_num_entries(z, 0);
    for (zip_int64_t i = 0; i < anzahl; ++i) {
        const char* roh = zip_get_name(z, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
        const QString name = roh ? QString::fromUtf8(roh) : QString();
        if (sichererName(name) && !ergebnis.contains(name))
            ergebnis.insert(name, static_cast<zip_uint64_t>(i));
    }
    return ergebnis;
}

struct SicherungsZustand {
    const Sicherung::Fortschritt* fortschritt = nullptr;
    QStringList dateien;
    QList<qint64> bisEnde; // cumulative sizes
    bool abgebrochen = false;
    int letzte = -1;
};

// libzip asks regularly while writing whether to stop.
int abbruchGewuenscht(zip_t*, void* ud)
{
    auto* zustand = static_cast<SicherungsZustand*>(ud);
    return zustand->abgebrochen ? 1 : 0;
}

void fortschrittBeimSchreiben(zip_t*, double anteil, void* ud)
{
    auto* zustand = static_cast<SicherungsZustand*>(ud);
    if (!*zustand->fortschritt || zustand->abgebrochen || zustand->bisEnde.isEmpty())
        return;
    const qint64 bytes = static_cast<qint64>(anteil * static_cast<double>(zustand->bisEnde.back()));
    int datei = 0;
    while (datei < zustand->bisEnde.size() - 1 && zustand->bisEnde[datei] <= bytes)
        ++datei;
    if (datei == zustand->letzte)
        return;
    zustand->letzte = datei;
    if (!(*zustand->fortschritt)(
            datei, static_cast<int>(zustand->dateien.size()), zustand->dateien[datei]))
        zustand->abgebrochen = true;
}

} // namespace

SicherungsAuftrag ErzeugeSicherungsAuftrag(bool ruecksicherung, const QString& datenbankverzeichnis)
{
    SicherungsAuftrag a;
    a.verzeichnis = datenbankverzeichnis;
    a.ruecksicherung = ruecksicherung;
    a.dateiliste = datenbankverzeichnis + QStringLiteral("*.MDB|") + QStringLiteral("*.XLS|")
        + QStringLiteral("*.DBF|") + QStringLiteral("*.DB;") + QStringLiteral("*.TSK;")
        + QStringLiteral("*.MSK;") + QStringLiteral("*.LST;") + QStringLiteral("*.CRD;")
        + QStringLiteral("*.LBL");
    a.fenstertitel = QStringLiteral("Datensicherung Kelvado");
    a.ueberschrift
        = (ruecksicherung ? QStringLiteral("Rück") : QString()) + QStringLiteral("Datensicherung");
    a.iniPfad = Programmverzeichnis() + QStringLiteral("KELVAD.INI");
    a.iniAbschnitt = QStringLiteral("KelvadSicherung");
    a.symbol = Grafikverzeichnis() + QStringLiteral("Sichern32.ico");
    return a;
}

QStringList Sicherung::Muster(const QString& dateiliste, const QString& verzeichnis)
{
    QString liste = dateiliste;
    if (!verzeichnis.isEmpty() && liste.startsWith(verzeichnis))
        liste = liste.mid(verzeichnis.size());
    QStringList muster;
    for (const QString& teil : liste.split(QRegularExpression(QStringLiteral("[|;]")))) {
        // A directory written differently from verzeichnis still does not end up in a pattern.
        QString m = teil.trimmed();
        m = m.mid(std::max(m.lastIndexOf(u'/'), m.lastIndexOf(u'\\')) + 1);
        if (!m.isEmpty())
            muster.append(m);
    }
    return muster;
}

QStringList Sicherung::PassendeDateien(const QString& verzeichnis, const QStringList& muster)
{
    QList<QRegularExpression> ausdruecke;
    for (const QString& m : muster)
        ausdruecke.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(m),
            QRegularExpression::CaseInsensitiveOption));
    QStringList ergebnis;
    const QStringList alle = QDir(verzeichnis).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& name : alle)
        for (const QRegularExpression& a : ausdruecke)
            if (a.match(name).hasMatch()) {
                ergebnis.append(name);
                break;
            }
    return ergebnis;
}

Sicherung::Ergebnis Sicherung::Sichern(const QString& verzeichnis, const QStringList& dateien,
    const QString& archiv, const Fortschritt& fortschritt)
{
    Ergebnis e;
    const QString satz = QStringLiteral("Fehler beim Schreiben der Sicherung:");
    if (dateien.isEmpty()) {
        e.meldung = QStringLiteral("Im Verzeichnis ") + QDir::toNativeSeparators(verzeichnis)
            + QStringLiteral(" gibt es keine Dateien, die gesichert werden können.");
        return e;
    }
    const QString temp = freierName(archiv);
    int code = 0;
    ZipArchiv z(zip_open(QFile::encodeName(temp).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code));
    if (!z) {
        e.meldung = meldungMitPfad(satz, archiv, zipGrund(code));
        return e;
    }
    SicherungsZustand zustand;
    zustand.fortschritt = &fortschritt;
    zustand.dateien = dateien;
    qint64 summe = 0;
    const QString basis = mitTrenner(verzeichnis);
    for (const QString& name : dateien) {
        const QString pfad = basis + name;
        const QFileInfo info(pfad);
        if (!info.isFile() || !info.isReadable()) {
            e.meldung = meldungMitPfad(
                satz, pfad, QStringLiteral("Die Datei kann nicht gelesen werden."));
            return e;
        }
        summe += info.size();
        zustand.bisEnde.append(summe);
        zip_source_t* quelle = zip_source_file(z.get(), QFile::encodeName(pfad).constData(), 0, -1);
        if (!quelle
            || zip_file_add(z.get(), name.toUtf8().constData(), quelle, ZIP_FL_ENC_UTF_8) < 0) {
            if (quelle)
                zip_source_free(quelle);
            e.meldung
                = meldungMitPfad(satz, pfad, zipGrund(zip_error_code_zip(zip_get_error(z.get()))));
            return e;
        }
    }
    const QByteArray kommentar = (KommentarVorsatz + QDir(verzeichnis).absolutePath()).toUtf8();
    zip_set_archive_comment(
        z.get(), kommentar.constData(), static_cast<zip_uint16_t>(kommentar.size()));
    zip_register_progress_callback_with_state(
        z.get(), 0.001, fortschrittBeimSchreiben, nullptr, &zustand);
    zip_register_cancel_callback_with_state(z.get(), abbruchGewuenscht, nullptr, &zustand);
    if (fortschritt && !fortschritt(0, static_cast<int>(dateien.size()), dateien.front())) {
        e.abgebrochen = true;
        return e;
    }
    if (zip_close(z.get()) < 0) {
        const int grund = zip_error_code_zip(zip_get_error(z.get()));
        QFile::remove(temp);
        if (zustand.abgebrochen || grund == ZIP_ER_CANCELLED)
            e.abgebrochen = true;
        else
            e.meldung = meldungMitPfad(satz, archiv, zipGrund(grund));
        return e;
    }
    z.release();
    if (zustand.abgebrochen) {
        QFile::remove(temp);
        e.abgebrochen = true;
        return e;
    }
    if (!ersetze(temp, archiv)) {
        QFile::remove(temp);
        e.meldung = meldungMitPfad(satz, archiv, zipGrund(ZIP_ER_RENAME));
        return e;
    }
    if (fortschritt)
        fortschritt(static_cast<int>(dateien.size()), static_cast<int>(dateien.size()), QString());
    e.ok = true;
    e.dateien = static_cast<int>(dateien.size());
    return e;
}

QStringList Sicherung::ArchivInhalt(const QString& archiv, QString* fehler)
{
    const ZipArchiv z = oeffneLesend(archiv, fehler);
    if (!z)
        return {};
    QStringList liste = namen(z.get()).keys();
    liste.sort(Qt::CaseInsensitive);
    return liste;
}

QString Sicherung::Quellverzeichnis(const QString& archiv)
{
    const ZipArchiv z = oeffneLesend(archiv, nullptr);
    if (!z)
        return {};
    int laenge = 0;
    const char* roh = zip_get_archive_comment(z.get(), &laenge, ZIP_FL_ENC_GUESS);
    const QString kommentar = roh ? QString::fromUtf8(roh, laenge) : QString();
    return kommentar.startsWith(KommentarVorsatz) ? kommentar.mid(KommentarVorsatz.size())
                                                  : QString();
}

Sicherung::Ergebnis Sicherung::Ruecksichern(const QString& archiv, const QStringList& dateien,
    const QString& verzeichnis, const Ueberschreibfrage& frage, const Fortschritt& fortschritt)
{
    Ergebnis e;
    const ZipArchiv z = oeffneLesend(archiv, &e.meldung);
    if (!z)
        return e;
    const QHash<QString, zip_uint64_t> index = namen(z.get());
    const QString basis = mitTrenner(verzeichnis);

    QStringList auswahl;
    for (const QString& name : dateien) {
        if (!index.contains(name)) {
            e.meldung = meldungMitPfad(QStringLiteral("Die Datei ist nicht im Archiv enthalten:"),
                name, QDir::toNativeSeparators(archiv));
            return e;
        }
        if (QFileInfo::exists(basis + name) && frage) {
            const Antwort a = frage(name);
            if (a == Antwort::Abbrechen) {
                e.abgebrochen = true;
                return e;
            }
            if (a != Antwort::Ja)
                continue;
        }
        auswahl.append(name);
    }

    // Unpack everything under temporary names first, so that a failure leaves the folder alone.
    QStringList temps;
    const auto aufraeumen = [&temps] {
        for (const QString& t : temps)
            QFile::remove(t);
    };
    const int gesamt = static_cast<int>(auswahl.size());
    for (int i = 0; i < gesamt; ++i) {
        const QString& name = auswahl[i];
        if (fortschritt && !fortschritt(i, gesamt, name)) {
            aufraeumen();
            e.abgebrochen = true;
            return e;
        }
        const QString ziel = basis + name;
        const QString temp = freierName(ziel);
        temps.append(temp);
        QFile aus(temp);
        const QString satz = QStringLiteral("Fehler beim Zurückschreiben von:");
        if (!aus.open(QIODevice::WriteOnly)) {
            aufraeumen();
            e.meldung = meldungMitPfad(
                satz, ziel, QStringLiteral("Die Datei kann nicht geschrieben werden."));
            return e;
        }
        zip_file_t* ein = zip_fopen_index(z.get(), index.value(name), 0);
        bool gut = ein != nullptr;
        int grund = gut ? 0 : zip_error_code_zip(zip_get_error(z.get()));
        char puffer[65536];
        while (gut) {
            const zip_int64_t n = zip_fread(ein, puffer, sizeof puffer);
            if (n < 0) {
                grund = zip_error_code_zip(zip_file_get_error(ein));
                gut = false;
            } else if (n == 0) {
                break;
            } else if (aus.write(puffer, n) != n) {
                grund = ZIP_ER_WRITE;
                gut = false;
            }
        }
        if (ein)
            zip_fclose(ein);
        if (gut && !aus.flush()) {
            gut = false;
            grund = ZIP_ER_WRITE;
        }
        aus.close();
        if (!gut) {
            aufraeumen();
            e.meldung = meldungMitPfad(satz, ziel, zipGrund(grund));
            return e;
        }
    }
    for (int i = 0; i < gesamt; ++i) {
        if (!ersetze(temps[i], basis + auswahl[i])) {
            aufraeumen();
            e.meldung = meldungMitPfad(QStringLiteral("Fehler beim Zurückschreiben von:"),
                basis + auswahl[i], QStringLiteral("Die Datei kann nicht ersetzt werden."));
            return e;
        }
        ++e.dateien;
    }
    if (fortschritt)
        fortschritt(gesamt, gesamt, QString());
    e.ok = true;
    return e;
}

Antwort Sicherung::FrageUeberschreiben(const QString& datei)
{
    const QChar z = Zeilenumbruch;
    return zeigeMeldung(QStringLiteral("Die Datei \"") + datei
            + QStringLiteral("\" ist bereits vorhanden.") + z + z
            + QStringLiteral("Soll sie durch die Datei aus der Sicherung ersetzt werden?"),
        QStringLiteral("Datensicherung Kelvado"), Knoepfe::JaNeinAbbrechen, Symbol::Frage, 2);
}

QString Sicherung::LetztesVerzeichnis(const QString& iniPfad, const QString& abschnitt)
{
    return IniWert(iniPfad, abschnitt, VerzeichnisSchluessel).value_or(QString());
}

void Sicherung::MerkeVerzeichnis(
    const QString& iniPfad, const QString& abschnitt, const QString& verzeichnis)
{
    // Not being able to remember the folder is no reason to bother the user.
    SchreibeBenutzerIniWert(iniPfad, abschnitt, VerzeichnisSchluessel, verzeichnis);
}

} // namespace kv
