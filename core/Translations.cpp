#include "core/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

bool Translations::install(const QLocale& locale, const QString& programFolder)
{
    if (m_plurals.load(QStringLiteral(":/formtide/translations/formtide_en.qm")))
        QCoreApplication::installTranslator(&m_plurals);
    if (m_qt.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qt);
    if (!m_program.load(locale, QStringLiteral("formtide"), QStringLiteral("_"),
                        programFolder + QStringLiteral("/translations")))
        return false;
    QCoreApplication::installTranslator(&m_program);
    return true;
}
