#include "masks/ui/F6Kopie.h"

#include "engine/Recordset.h"
#include "engine/model/RecordsetModel.h"
#include "widgets/DataGrid.h"

#include <QFile>
#include <QVBoxLayout>

namespace kv {

F6Kopie::F6Kopie(std::unique_ptr<engine::Recordset> werte, const QFont& schrift,
    const QString& symbol, QWidget* parent)
    : QDialog(parent)
    , m_grid(new DataGrid(this))
{
    // The model goes with the grid, which reads from it until its end.
    m_modell = new engine::RecordsetModel(m_grid);
    setObjectName(QStringLiteral("F6Kopie"));
    setWindowTitle(QStringLiteral("Wert übernehmen"));
    if (QFile::exists(symbol))
        setWindowIcon(QIcon(symbol));
    m_grid->setzeNurLesen(true);
    m_grid->setFont(schrift);
    m_grid->setzeModell(m_modell);
    m_modell->setRecordset(std::move(werte));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
    resize(360, 300);
    connect(m_grid, &DataGrid::zeileGewaehlt, this, [this](int zeile) {
        m_wert = m_grid->zelltext(zeile, qMax(0, m_grid->aktuelleSpalte()));
        accept();
    });
    connect(m_grid, &DataGrid::escapeOhneAenderung, this, &QDialog::reject);
}

F6Kopie::~F6Kopie() = default;

} // namespace kv
