#include "ui/DesktopOpener.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

DesktopOpener::DesktopOpener(QProcessEnvironment environment) : m_environment(std::move(environment)) {}

bool DesktopOpener::open(const QUrl& url) const
{
    if (!url.isValid())
        return false;
    if (m_environment == QProcessEnvironment::systemEnvironment())
        return QDesktopServices::openUrl(url);
    const QString opener = QStandardPaths::findExecutable(
        QStringLiteral("xdg-open"),
        m_environment.value(QStringLiteral("PATH")).split(u':', Qt::SkipEmptyParts));
    if (opener.isEmpty())
        return QDesktopServices::openUrl(url);
    QProcess process;
    process.setProgram(opener);
    process.setArguments({url.toString(QUrl::FullyEncoded)});
    process.setProcessEnvironment(m_environment);
    process.setStandardInputFile(QProcess::nullDevice());
    return process.startDetached();
}
