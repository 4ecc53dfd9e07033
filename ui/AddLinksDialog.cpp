#include "ui/AddLinksDialog.h"

#include "sites/AddedLinksFile.h"
#include "ui/FixedDialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

namespace {

// A character named so that the user can see it even when it is invisible or a lone half of a pair.
QString describeCharacter(const QString& character)
{
    const char32_t code = character.size() == 2 ? QChar::surrogateToUcs4(character.at(0), character.at(1))
                                                : character.at(0).unicode();
    const QString codeText =
        QStringLiteral("U+%1").arg(static_cast<uint>(code), 4, 16, QLatin1Char('0')).toUpper();
    const bool printable =
        character.size() == 2 || (character.at(0).isPrint() && !character.at(0).isSurrogate());
    return printable ? QStringLiteral("\u201C") + character + QStringLiteral("\u201D (") + codeText + u')'
                     : codeText;
}

} // namespace

AddLinksDialog::AddLinksDialog(QString appFolder, QWidget* parent)
    : QDialog(parent, FixedDialog::Flags), m_appFolder(std::move(appFolder))
{
    FixedDialog::setUp(*this, "addLinksDialog", QStringLiteral("Add Links"), 5265, 4080);

    m_label =
        new QLabel(QStringLiteral("Add links in the field, 1 link/1 line. \"http://\" is needed."), this);
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

    // Between the text box and the buttons; shown only after a failed save.
    m_saveError = new QLabel(this);
    m_saveError->setObjectName(QStringLiteral("saveError"));
    m_saveError->setTextFormat(Qt::PlainText);
    m_saveError->setGeometry(Twips::rect(120, 3375, 4995, 225));
    m_saveError->setStyleSheet(QStringLiteral("color: #b00020;"));
    m_saveError->hide();

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setGeometry(Twips::rect(1140, 3600, 1215, 315));

    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
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
    const AddedLinksFile::AppendResult result =
        AddedLinksFile::append(m_appFolder, m_text->document()->toRawText());
    switch (result.status) {
    case AddedLinksFile::AppendResult::Status::Appended:
        accept();
        return;
    case AddedLinksFile::AppendResult::Status::UnencodableCharacter:
        showSaveError(QStringLiteral("Links not saved: ") + describeCharacter(result.detail) +
                      QStringLiteral(" cannot be stored."));
        return;
    case AddedLinksFile::AppendResult::Status::WriteFailed:
        showSaveError(QStringLiteral("Links not saved: ") + result.detail + u'.');
        return;
    }
}

void AddLinksDialog::showEvent(QShowEvent* event)
{
    // Each opening is a fresh dialog: nothing of the last one is kept. A window restored after
    // being minimised is shown again by the window system, and keeps what was typed.
    if (!event->spontaneous()) {
        m_text->clear();
        m_saveError->clear();
        m_saveError->setToolTip(QString());
        m_saveError->hide();
        m_text->setFocus();
    }
    QDialog::showEvent(event);
}

void AddLinksDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void AddLinksDialog::showSaveError(const QString& message)
{
    const QString shown =
        m_saveError->fontMetrics().elidedText(message, Qt::ElideRight, m_saveError->width());
    m_saveError->setText(shown);
    m_saveError->setToolTip(shown == message ? QString() : message);
    m_saveError->show();
    m_text->setFocus();
}
