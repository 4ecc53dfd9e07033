#include "ui/AddLinksDialog.h"

#include "sites/AddedLinksFile.h"
#include "ui/LinkText.h"
#include "ui/Twips.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTextDocument>

AddLinksDialog::AddLinksDialog(QString dataFolder, QWidget* parent)
    : FixedDialog(parent, "addLinksDialog", tr("Add Links"), 5265, 4080), m_dataFolder(std::move(dataFolder))
{
    m_label = new QLabel(tr("Add links in the field, 1 link/1 line. \"http://\" is needed."), this);
    m_label->setObjectName(QStringLiteral("promptLabel"));
    m_label->setTextFormat(Qt::PlainText);
    m_label->setGeometry(Twips::rect(120, 180, 4695, 255));

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("linksEdit"));
    m_text->setGeometry(Twips::rect(120, 540, 4995, 2835));
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves on to the buttons, as in every other field; links hold no tabs.
    m_text->setTabChangesFocus(true);

    // Between the text box and the buttons.
    addStatusLine("saveError", Twips::rect(120, 3375, 4995, 225))
        ->setStyleSheet(QStringLiteral("color: #b00020;"));

    m_ok = new QPushButton(tr("OK"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setGeometry(Twips::rect(1140, 3600, 1215, 315));

    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setGeometry(Twips::rect(2940, 3600, 1215, 315));

    // Without this a dialog makes its first auto-default button the default one, and Enter
    // would press it.
    for (QPushButton* button : {m_ok, m_cancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    setTabOrder(m_text, m_ok);
    setTabOrder(m_ok, m_cancel);

    connect(m_ok, &QPushButton::clicked, this, &AddLinksDialog::saveLinks);
    connect(m_cancel, &QPushButton::clicked, this, &AddLinksDialog::reject);
}

void AddLinksDialog::saveLinks()
{
    // The raw text keeps every character as typed (plain text export would turn no-break
    // spaces into spaces); blocks are separated by U+2029, which the file gets as CR LF.
    const auto appended = AddedLinksFile::append(m_dataFolder, m_text->document()->toRawText());
    if (appended) {
        accept();
        return;
    }
    showStatus(tr("Links not saved: %1.").arg(LinkText::reason(appended.problem())));
    m_text->setFocus();
}

void AddLinksDialog::showEvent(QShowEvent* event)
{
    // Each opening is a fresh dialog: nothing of the last one is kept. A window restored after
    // being minimised is shown again by the window system, and keeps what was typed.
    if (!event->spontaneous()) {
        m_text->clear();
        showStatus(QString());
        m_text->setFocus();
    }
    QDialog::showEvent(event);
}
