#include "ui/ProgressExporter.h"

#include "core/FileRules.h"
#include "products/ProductList.h"
#include "products/ProductProfiles.h"
#include "sites/ProgressExport.h"
#include "sites/ProgressStore.h"

#include <QDir>
#include <QFileDialog>
#include <algorithm>

ProgressExporter::ProgressExporter(const SiteListModel& sites, const ProgressStore& marks, QString dataFolder,
                                   QWidget* window)
    : QObject(window), m_sites(sites), m_marks(marks), m_dataFolder(std::move(dataFolder)), m_window(window)
{
}

void ProgressExporter::chooseFile()
{
    auto* files = new QFileDialog(m_window, tr("Export Progress"), QDir::homePath(), tr("CSV files (*.csv)"));
    files->setObjectName(QStringLiteral("exportFileDialog"));
    files->setAttribute(Qt::WA_DeleteOnClose);
    files->setAcceptMode(QFileDialog::AcceptSave);
    files->setDefaultSuffix(QStringLiteral("csv"));
    files->selectFile(QStringLiteral("progress.csv"));
    files->setOption(QFileDialog::DontUseNativeDialog);
    connect(files, &QFileDialog::fileSelected, this, &ProgressExporter::exportTo);
    files->open();
}

void ProgressExporter::exportTo(const QString& path)
{
    QStringList products = ProductProfiles::list(m_dataFolder);
    for (const QString& name : m_marks.productsWithMarks()) {
        if (!products.contains(name))
            products.append(name);
    }
    std::sort(products.begin(), products.end(), ProductList::lessIgnoringCase);
    const QByteArray table = ProgressExport::csv(m_sites, m_marks, products);
    if (const auto written = FileRules::writeWhole(path, table); !written)
        Q_EMIT message(tr("The progress was not exported to %1 (%2).").arg(path, written.problem().detail));
    else
        Q_EMIT message(tr("The progress of every product was exported to %1.").arg(path));
}
