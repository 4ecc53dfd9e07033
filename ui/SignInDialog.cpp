#include "ui/SignInDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

SignInDialog::SignInDialog(QWidget* parent)
    : QDialog(parent), m_question(new QLabel(this)), m_user(new QLineEdit(this)),
      m_password(new QLineEdit(this)), m_remember(new QCheckBox(tr("Remember"), this))
{
    setObjectName(QStringLiteral("signInDialog"));
    setWindowTitle(tr("Sign In"));
    m_question->setTextFormat(Qt::PlainText);
    m_question->setWordWrap(true);
    m_user->setObjectName(QStringLiteral("userEdit"));
    m_password->setObjectName(QStringLiteral("passwordEdit"));
    m_password->setEchoMode(QLineEdit::Password);
    m_remember->setObjectName(QStringLiteral("rememberBox"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* fields = new QFormLayout;
    fields->addRow(tr("User name:"), m_user);
    fields->addRow(tr("Password:"), m_password);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_question);
    layout->addLayout(fields);
    layout->addWidget(m_remember);
    layout->addWidget(buttons);
}

void SignInDialog::ask(const QString& site, const QString& realm, bool refused)
{
    const QString question = realm.isEmpty() ? tr("%1 asks you to sign in.").arg(site)
                                             : tr("%1 asks you to sign in to \"%2\".").arg(site, realm);
    m_question->setText(refused ? tr("The user name or password was not accepted.") + u'\n' + question
                                : question);
}

void SignInDialog::setSignIn(const QString& user, const QString& password, bool remembered)
{
    m_user->setText(user);
    m_password->setText(password);
    m_remember->setChecked(remembered);
    (user.isEmpty() ? m_user : m_password)->setFocus();
}

QString SignInDialog::user() const
{
    return m_user->text();
}

QString SignInDialog::password() const
{
    return m_password->text();
}

bool SignInDialog::remember() const
{
    return m_remember->isChecked();
}
