#pragma once

#include <QTranslator>

class QLocale;

// The words of the program in the user's language, installed in the running application for as
// long as this object lives. The program's own translation is
// <program folder>/translations/formtide_<language>.qm (for the locale de_DE: formtide_de_DE.qm,
// else formtide_de.qm); Qt's own, for its dialogs, comes from Qt's translations folder. The program
// ships none yet: without a file every text stays as written, in English, but for the plural
// forms of counted texts, which come from the English translation built into the program.
class Translations final {
    Q_DISABLE_COPY_MOVE(Translations)

public:
    Translations() = default;

    // Loads and installs what there is for `locale`; true when the program's own translation was
    // found. Needs a QCoreApplication.
    bool install(const QLocale& locale, const QString& programFolder);

private:
    QTranslator m_plurals;
    QTranslator m_program;
    QTranslator m_qt;
};
