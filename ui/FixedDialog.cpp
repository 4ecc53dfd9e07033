#include "ui/FixedDialog.h"

#include "ui/Twips.h"

#include <QFont>
#include <QKeyEvent>
#include <QLabel>

FixedDialog::FixedDialog(QWidget* parent, const char* objectName, const QString& title, int widthTwips,
                         int heightTwips)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QLatin1String(objectName));
    setWindowTitle(title);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    setFont(font);
    setFixedSize(Twips::toPixels(widthTwips), Twips::toPixels(heightTwips));
}

QLabel* FixedDialog::addStatusLine(const char* objectName, QRect geometry)
{
    m_status = new QLabel(this);
    m_status->setObjectName(QLatin1String(objectName));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setGeometry(geometry);
    m_status->hide();
    return m_status;
}

void FixedDialog::showStatus(const QString& line)
{
    const QString shown = m_status->fontMetrics().elidedText(line, Qt::ElideRight, m_status->width());
    m_status->setText(shown);
    m_status->setToolTip(shown == line ? QString() : line);
    m_status->setVisible(!line.isEmpty());
}

void FixedDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
