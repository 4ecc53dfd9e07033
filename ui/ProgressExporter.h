#pragma once

#include <QObject>
#include <QString>

class ProgressStore;
class QWidget;
class SiteListModel;

// "File > Export Progress...": asks in a file dialog where to, then writes there the marks of every
// product, each that has a profile and each that has marks without one, in the order of the product
// list, as a CSV table (ProgressExport). The file is replaced only once it is written whole.
class ProgressExporter final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProgressExporter)
public:
    // The file dialog opens over `window`, which also owns the exporter.
    ProgressExporter(const SiteListModel& sites, const ProgressStore& marks, QString dataFolder,
                     QWidget* window);

    // Opens the file dialog; the export follows when a file is chosen.
    void chooseFile();
    void exportTo(const QString& path);

Q_SIGNALS:
    // What the export did, for the status bar.
    void message(const QString& text);

private:
    const SiteListModel& m_sites;
    const ProgressStore& m_marks;
    QString m_dataFolder;
    QWidget* m_window;
};
