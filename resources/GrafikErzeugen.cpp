// Build tool: fills the "Grafik" folder from the icon table (see icons.tsv).
//   kv_grafik_erzeugen <icons.tsv> <theme folder> <target folder>

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QTextStream>
#include <cstdio>

namespace {

int fehler(const QString& text)
{
    std::fprintf(stderr, "kv_grafik_erzeugen: %s\n", qPrintable(text));
    return 1;
}

int groesseAusName(const QString& basis)
{
    return basis.endsWith(QLatin1String("32")) ? 32 : 16;
}

bool schreibe(const QString& thema, const QString& quelle, int groesse, const QString& ziel)
{
    const QString datei = QStringLiteral("%1/%2x%2/%3.png").arg(thema).arg(groesse).arg(quelle);
    QImage bild(datei);
    if (bild.isNull()) {
        fehler(QStringLiteral("%1 fehlt").arg(datei));
        return false;
    }
    if (bild.width() != groesse)
        bild = bild.scaled(groesse, groesse, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    const QString endung = QFileInfo(ziel).suffix().toLower();
    if (endung == QLatin1String("bmp")) {
        // Bitmaps have no transparency: put the icon on the grid heads' white.
        QImage flach(bild.size(), QImage::Format_RGB32);
        flach.fill(Qt::white);
        QPainter p(&flach);
        p.drawImage(0, 0, bild);
        p.end();
        bild = flach;
    }
    QImageWriter schreiber(ziel, endung.toLatin1());
    if (!schreiber.write(bild)) {
        fehler(QStringLiteral("%1: %2").arg(ziel, schreiber.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4)
        return fehler(QStringLiteral("Aufruf: kv_grafik_erzeugen <Tabelle> <Thema> <Ziel>"));
    QFile tabelle(args.at(1));
    if (!tabelle.open(QIODevice::ReadOnly | QIODevice::Text))
        return fehler(QStringLiteral("%1 nicht lesbar").arg(args.at(1)));
    const QString thema = args.at(2);
    const QDir ziel(args.at(3));
    if (!QDir().mkpath(ziel.path()))
        return fehler(QStringLiteral("%1 kann nicht angelegt werden").arg(ziel.path()));

    bool ok = true;
    QTextStream in(&tabelle);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString zeile = in.readLine().trimmed();
        if (zeile.isEmpty() || zeile.startsWith(QLatin1Char('#')))
            continue;
        const QStringList spalten = zeile.split(QLatin1Char('\t'), Qt::SkipEmptyParts);
        if (spalten.size() != 2) {
            fehler(QStringLiteral("Zeile ohne zwei Spalten: %1").arg(zeile));
            ok = false;
            continue;
        }
        const QString& name = spalten.at(0);
        const QString& quelle = spalten.at(1);
        if (name.contains(QLatin1Char('.'))) {
            const QString basis = QFileInfo(name).completeBaseName();
            ok = schreibe(thema, quelle, groesseAusName(basis), ziel.filePath(name)) && ok;
        } else {
            for (int groesse : { 16, 32 }) {
                const QString datei = QStringLiteral("%1%2.ico").arg(name).arg(groesse);
                ok = schreibe(thema, quelle, groesse, ziel.filePath(datei)) && ok;
            }
        }
    }
    return ok ? 0 : 1;
}
