#include "shell/Aktionsschutz.h"
#include "shell/ui/passwort.h"
#include "testutils/ScriptedDialoge.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

using namespace kv;

class TestPasswort : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aussehen();
    void eingabeEndet_data();
    void eingabeEndet();
    void escapeBricktAb();
    void pruefenMitDialog();
};

namespace {
QLineEdit* feld(const QWidget& dialog)
{
    return dialog.findChild<QLineEdit*>();
}
} // namespace

void TestPasswort::aussehen()
{
    passwort dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Passwort-Eingabe Kelvado für Windows"));
    QCOMPARE(dialog.findChild<QLabel*>()->text(),
        QStringLiteral(
            "Bitte geben Sie das Passwort ein, um die folgenden Aktionen durchführen zu können"));
    QCOMPARE(feld(dialog)->echoMode(), QLineEdit::Password);
    QVERIFY(feld(dialog)->text().isEmpty());
}

void TestPasswort::eingabeEndet_data()
{
    QTest::addColumn<QString>("tasten");
    QTest::addColumn<bool>("enter");
    QTest::addColumn<bool>("beendet");
    QTest::addColumn<QString>("eingabe");
    QTest::newRow("vier Zeichen") << "abcd" << false << false << "abcd";
    QTest::newRow("fünftes Zeichen beendet") << "abcde" << false << true << "abcde";
    QTest::newRow("Enter") << "ab" << true << true << "ab";
    QTest::newRow("Enter leer") << "" << true << true << "";
}

void TestPasswort::eingabeEndet()
{
    QFETCH(QString, tasten);
    QFETCH(bool, enter);
    QFETCH(bool, beendet);
    passwort dialog;
    dialog.open();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClicks(feld(dialog), tasten);
    if (enter)
        QTest::keyClick(feld(dialog), Qt::Key_Return);
    QCOMPARE(dialog.isVisible(), !beendet);
    if (beendet)
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QTEST(dialog.eingabe(), "eingabe");
}

void TestPasswort::escapeBricktAb()
{
    passwort dialog;
    dialog.open();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClicks(feld(dialog), QStringLiteral("ab"));
    QTest::keyClick(feld(dialog), Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void TestPasswort::pruefenMitDialog()
{
    PasswortDialogEinrichten();
    aktionsschutz().setzePasswort(15, QStringLiteral("Kw9"));
    test::ScriptedDialoge dialoge;

    const auto tippe = [](const QString& text) {
        QTimer::singleShot(0, [text] {
            auto* d = qobject_cast<passwort*>(QApplication::activeModalWidget());
            QVERIFY(d);
            QTest::keyClicks(feld(*d), text);
            QTest::keyClick(feld(*d), Qt::Key_Return);
        });
    };
    QApplication::setOverrideCursor(Qt::WaitCursor);
    tippe(QStringLiteral("Kw9"));
    QVERIFY(PruefeAktionsschutz(15));
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QApplication::restoreOverrideCursor();
    QVERIFY(dialoge.meldungen().isEmpty());

    tippe(QStringLiteral("kw9"));
    QVERIFY(!PruefeAktionsschutz(15));
    QCOMPARE(dialoge.meldungen().size(), 1);
    // Unprotected actions do not ask.
    QVERIFY(PruefeAktionsschutz(1));
    aktionsschutz().setzePasswort(15, QString());
}

QTEST_MAIN(TestPasswort)
#include "tst_passwort.moc"
