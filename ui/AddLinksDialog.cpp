#include "ui/AddLinksDialog.h"

#include "core/FileRules.h"
#include "sites/AddedLinksFile.h"
#include "ui/LinkText.h"
#include "ui/Twips.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
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
    m_status = addStatusLine("saveError", Twips::rect(120, 3375, 4995, 225));

    m_ok = new QPushButton(tr("OK"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setGeometry(Twips::rect(1140, 3600, 1215, 315));

    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setGeometry(Twips::rect(2940, 3600, 1215, 315));

    m_fromFile = new QPushButton(tr("From File..."), this);
    m_fromFile->setObjectName(QStringLiteral("fromFileButton"));
    m_fromFile->setToolTip(tr("Adds the addresses of a text file, one a line"));
    m_fromFile->setGeometry(Twips::rect(120, 3600, 915, 315));

    // Without this a dialog makes its first auto-default button the default one, and Enter
    // would press it.
    for (QPushButton* button : {m_ok, m_cancel, m_fromFile}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    setTabOrder(m_text, m_fromFile);
    setTabOrder(m_fromFile, m_ok);
    setTabOrder(m_ok, m_cancel);

    connect(m_ok, &QPushButton::clicked, this, &AddLinksDialog::saveLinks);
    connect(m_cancel, &QPushButton::clicked, this, &AddLinksDialog::reject);
    connect(m_fromFile, &QPushButton::clicked, this, &AddLinksDialog::chooseLinksFile);
}

void AddLinksDialog::chooseLinksFile()
{
    auto* files =
        new QFileDialog(this, tr("Add Links From File"), QString(), tr("Text files (*.txt);;All files (*)"));
    files->setObjectName(QStringLiteral("linksFileDialog"));
    files->setAttribute(Qt::WA_DeleteOnClose);
    files->setFileMode(QFileDialog::ExistingFile);
    files->setOption(QFileDialog::DontUseNativeDialog);
    connect(files, &QFileDialog::fileSelected, this, &AddLinksDialog::addLinksFromFile);
    files->open();
}

void AddLinksDialog::addLinksFromFile(const QString& path)
{
    // An address list is small; anything larger is not one.
    constexpr qint64 maxSize = 4 * 1024 * 1024;
    const QString name = QFileInfo(path).fileName();
    const auto content = FileRules::readWhole(path, maxSize);
    if (!content) {
        const FileRules::FileProblem& problem = content.problem();
        showLine(problem.kind == FileRules::FileProblem::Kind::TooLarge
                     ? tr("%1 was not read: it is larger than 4 MB.").arg(name)
                     : tr("%1 was not read (%2).").arg(name, problem.detail),
                 true);
        return;
    }
    const QString typed = m_text->toPlainText();
    const AddedLinksFile::Import found =
        AddedLinksFile::importable(*content, m_known + typed.split(u'\n', Qt::SkipEmptyParts));
    if (!found.links.isEmpty()) {
        m_text->moveCursor(QTextCursor::End);
        const bool newLine = !typed.isEmpty() && !typed.endsWith(u'\n');
        // No line break after the last: "OK" would add an empty line for it.
        m_text->insertPlainText((newLine ? QStringLiteral("\n") : QString()) + found.links.join(u'\n'));
    }
    showLine(tr("%1: added %2, skipped %3 already listed and %4 blank.")
                 .arg(name, QString::number(found.links.size()), QString::number(found.known),
                      QString::number(found.blankLines)),
             false);
    m_text->setFocus();
}

void AddLinksDialog::showLine(const QString& line, bool failure)
{
    m_status->setStyleSheet(failure ? QStringLiteral("color: #b00020;") : QString());
    showStatus(line);
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
    showLine(tr("Links not saved: %1.").arg(LinkText::reason(appended.problem())), true);
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
