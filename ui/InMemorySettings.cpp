#include "ui/InMemorySettings.h"

#include <QSettings>

void keepQtSettingsInMemory()
{
    // Qt's dialogs keep their state through QSettings(UserScope, "QtProject"). Below /dev/null no
    // folder can be made, so every write fails quietly and the values stay in memory for the run.
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
    // Qt Quick, which draws the browser's page, would keep compiled shaders in the user's cache.
    qputenv("QT_DISABLE_SHADER_DISK_CACHE", "1");
}
