#include "base/Programmverzeichnis.h"
#include "engine/Workspace.h"
#include "tables/ui/frmExtTabelle.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"

#include <QDir>
#include <QIcon>
#include <QImage>
#include <QWidget>
#include <QtTest>

using namespace kv;

namespace {

// The colour in the middle of a window's icon.
QRgb symbolfarbe(const QWidget& w)
{
    const QImage bild = w.windowIcon().pixmap(32, 32).toImage();
    return bild.isNull() ? 0 : bild.pixel(16, 16);
}

} // namespace

class TestExtTabelle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { setzeProgrammverzeichnis(QString()); }

    // The choice of a foreign table shows the structure icon of the program's picture folder,
    // and its owner's icon when the folder has none.
    void fenstersymbol()
    {
        test::TempDir programm;
        QVERIFY(QDir(programm.path()).mkdir(QStringLiteral("Grafik")));
        QImage gruen(32, 32, QImage::Format_ARGB32);
        gruen.fill(QColor(0, 200, 0));
        QVERIFY(gruen.save(programm.file(QStringLiteral("Grafik/Struktur32.ico")), "PNG"));
        QImage rot(32, 32, QImage::Format_ARGB32);
        rot.fill(QColor(200, 0, 0));
        QWidget besitzer;
        besitzer.setWindowIcon(QIcon(QPixmap::fromImage(rot)));

        engine::Workspace ws;
        test::ScriptedDialoge dlg;
        const QString datei = programm.file(QStringLiteral("fehlt.dbf"));
        setzeProgrammverzeichnis(programm.path() + QLatin1Char('/'));
        {
            frmExtTabelle wahl(ws, 1, datei, &besitzer);
            QCOMPARE(symbolfarbe(wahl), QColor(0, 200, 0).rgb());
        }
        QVERIFY(QFile::remove(programm.file(QStringLiteral("Grafik/Struktur32.ico"))));
        frmExtTabelle ohne(ws, 1, datei, &besitzer);
        QCOMPARE(symbolfarbe(ohne), QColor(200, 0, 0).rgb());
    }
};

QTEST_MAIN(TestExtTabelle)
#include "tst_exttabelle.moc"
