#include "ui/InMemorySettings.h"

#include <QIODevice>
#include <QSettings>

namespace {

bool readNothing(QIODevice&, QSettings::SettingsMap& map)
{
    map.clear();
    return true;
}

// Failing the write makes QSettings drop the file it would have replaced, so nothing reaches
// the disk; the values stay readable in memory until the program ends.
bool writeNothing(QIODevice&, const QSettings::SettingsMap&)
{
    return false;
}

} // namespace

void keepQtSettingsInMemory()
{
    const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("unsaved"), readNothing, writeNothing);
    QSettings::setDefaultFormat(format);
}
