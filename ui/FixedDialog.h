#pragma once

#include "ui/Twips.h"

#include <QDialog>
#include <QFont>

// The look every dialog of the program shares: a title bar with only the close button, an inner
// size given in twips that the user cannot change, and the 8.25-point Arial its layouts are made for.
namespace FixedDialog {

inline constexpr Qt::WindowFlags Flags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                                         Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                         Qt::WindowCloseButtonHint;

inline void setUp(QDialog& dialog, const char* objectName, const QString& title, int widthTwips,
                  int heightTwips)
{
    dialog.setObjectName(QLatin1String(objectName));
    dialog.setWindowTitle(title);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    dialog.setFont(font);
    dialog.setFixedSize(Twips::toPixels(widthTwips), Twips::toPixels(heightTwips));
}

} // namespace FixedDialog
