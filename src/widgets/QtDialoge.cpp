#include "widgets/QtDialoge.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <array>

namespace kv {

namespace {

struct Knopf {
    QMessageBox::StandardButton standard;
    Antwort antwort;
    const char* text;
};

constexpr Knopf knopfOk { QMessageBox::Ok, Antwort::Ok, "OK" };
constexpr Knopf knopfAbbrechen { QMessageBox::Cancel, Antwort::Abbrechen, "Abbrechen" };
constexpr Knopf knopfJa { QMessageBox::Yes, Antwort::Ja, "&Ja" };
constexpr Knopf knopfNein { QMessageBox::No, Antwort::Nein, "&Nein" };

struct Knopfsatz {
    std::array<Knopf, 3> knoepfe;
    int anzahl;
    /// Position of the button Escape and the close box stand for.
    int escape;
};

Knopfsatz knopfsatz(Knoepfe k)
{
    switch (k) {
    case Knoepfe::Ok:
        return { { knopfOk }, 1, 0 };
    case Knoepfe::OkAbbrechen:
        return { { knopfOk, knopfAbbrechen }, 2, 1 };
    case Knoepfe::JaNein:
        // No cancel button: Escape means the safe answer.
        return { { knopfJa, knopfNein }, 2, 1 };
    case Knoepfe::JaNeinAbbrechen:
        break;
    }
    return { { knopfJa, knopfNein, knopfAbbrechen }, 3, 2 };
}

QMessageBox::Icon qtSymbol(Symbol s)
{
    switch (s) {
    case Symbol::Frage:
        return QMessageBox::Question;
    case Symbol::Information:
        return QMessageBox::Information;
    case Symbol::Warnung:
        return QMessageBox::Warning;
    case Symbol::Kritisch:
        return QMessageBox::Critical;
    case Symbol::Keins:
        break;
    }
    return QMessageBox::NoIcon;
}

// 1-based position of the chosen filter; 0 when unknown. With the pattern details hidden, Qt
// reports the filter without its trailing pattern group.
int filterPosition(const QStringList& filter, const QString& gewaehlt)
{
    for (qsizetype i = 0; i < filter.size(); ++i) {
        const QString& f = filter[i];
        const QString ohneMuster = f.left(f.lastIndexOf(QLatin1String(" ("))).trimmed();
        if (f == gewaehlt || ohneMuster == gewaehlt)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

} // namespace

QtDialoge::QtDialoge(QString standardTitel)
    : m_standardTitel(std::move(standardTitel))
{ }

QString QtDialoge::titelOderStandard(const QString& titel) const
{
    if (!titel.isEmpty())
        return titel;
    return m_standardTitel.isEmpty() ? QGuiApplication::applicationDisplayName() : m_standardTitel;
}

Antwort QtDialoge::meldung(const Meldung& m)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(titelOderStandard(m.titel));
    box.setText(m.text);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(qtSymbol(m.symbol));

    const Knopfsatz satz = knopfsatz(m.knoepfe);
    std::array<QAbstractButton*, 3> knoepfe {};
    for (int i = 0; i < satz.anzahl; ++i) {
        knoepfe[i] = box.addButton(satz.knoepfe[i].standard);
        knoepfe[i]->setText(QString::fromUtf8(satz.knoepfe[i].text));
    }
    const int standard
        = (m.standardKnopf >= 1 && m.standardKnopf <= satz.anzahl) ? m.standardKnopf - 1 : 0;
    box.setDefaultButton(static_cast<QPushButton*>(knoepfe[standard]));
    box.setEscapeButton(knoepfe[satz.escape]);

    box.exec();

    const QAbstractButton* geklickt = box.clickedButton();
    for (int i = 0; i < satz.anzahl; ++i) {
        if (knoepfe[i] == geklickt)
            return satz.knoepfe[i].antwort;
    }
    return satz.knoepfe[satz.escape].antwort;
}

std::optional<QString> QtDialoge::eingabe(
    const QString& aufforderung, const QString& titel, const QString& vorgabe)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(titelOderStandard(titel));
    dialog.setLabelText(aufforderung);
    dialog.setTextValue(vorgabe);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Abbrechen"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QStringList QtDialoge::namensfilter(const QString& filter)
{
    QStringList ergebnis;
    if (filter.trimmed().isEmpty())
        return ergebnis;
    const QStringList teile = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i < teile.size(); i += 2) {
        const QString text = teile[i].trimmed();
        QStringList muster;
        if (i + 1 < teile.size()) {
            for (const QString& m : teile[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
                const QString einzeln = m.trimmed();
                // "*.*" means every file on Windows, but only names with a dot here.
                if (einzeln == QLatin1String("*.*"))
                    muster.append(QStringLiteral("*"));
                else if (!einzeln.isEmpty())
                    muster.append(einzeln);
            }
        }
        if (muster.isEmpty())
            muster.append(QStringLiteral("*"));
        if (text.isEmpty() && i + 1 >= teile.size())
            continue; // a trailing "|"
        ergebnis.append(
            text + QStringLiteral(" (") + muster.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return ergebnis;
}

QString QtDialoge::schreibgeschuetztText()
{
    return QStringLiteral("Schreibgeschützt öffnen");
}

DateiDialogErgebnis QtDialoge::dateiDialog(const DateiDialogOptionen& o)
{
    QFileDialog dialog(QApplication::activeWindow());
    if (!o.titel.isEmpty())
        dialog.setWindowTitle(o.titel);
    dialog.setAcceptMode(
        o.speichern && !o.ordner ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(o.ordner ? QFileDialog::Directory
            : o.speichern       ? QFileDialog::AnyFile
                                : QFileDialog::ExistingFile);
    if (o.ordner)
        dialog.setOption(QFileDialog::ShowDirsOnly);
    // The filter texts usually name their patterns already; Qt's copy would show them twice.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (o.speichern && !o.ueberschreibenFragen)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);

    const QStringList filter = o.ordner ? QStringList() : namensfilter(o.filter);
    if (!filter.isEmpty()) {
        dialog.setNameFilters(filter);
        if (o.filterIndex >= 1 && o.filterIndex <= filter.size())
            dialog.selectNameFilter(filter[o.filterIndex - 1]);
    }
    if (!o.startVerzeichnis.isEmpty())
        dialog.setDirectory(o.startVerzeichnis);
    if (!o.dateiname.isEmpty())
        dialog.selectFile(o.dateiname);

    QCheckBox* nurLesen = nullptr;
    if (o.schreibgeschuetztAnzeigen && !o.speichern && !o.ordner) {
        // Only Qt's own dialog lets us add a control.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        if (auto* raster = qobject_cast<QGridLayout*>(dialog.layout())) {
            nurLesen = new QCheckBox(schreibgeschuetztText(), &dialog);
            nurLesen->setChecked(o.schreibgeschuetzt);
            raster->addWidget(nurLesen, raster->rowCount(), 0, 1, raster->columnCount());
        }
    }

    DateiDialogErgebnis ergebnis;
    ergebnis.filterIndex = o.filterIndex;
    ergebnis.schreibgeschuetzt = o.schreibgeschuetzt;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return ergebnis;

    ergebnis.abgebrochen = false;
    ergebnis.pfad = dialog.selectedFiles().constFirst();
    const int index = filterPosition(filter, dialog.selectedNameFilter());
    if (index > 0)
        ergebnis.filterIndex = index;
    if (nurLesen)
        ergebnis.schreibgeschuetzt = nurLesen->isChecked();
    return ergebnis;
}

} // namespace kv
