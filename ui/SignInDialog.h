#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;

// Asks for the user name and password that a site wants (HTTP authentication), naming the site and
// what it calls the area; "Remember" asks to keep them for the next time.
class SignInDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SignInDialog)
public:
    explicit SignInDialog(QWidget* parent = nullptr);

    // `refused`: the site did not take the sign-in given last.
    void ask(const QString& site, const QString& realm, bool refused);
    void setSignIn(const QString& user, const QString& password, bool remembered);
    QString user() const;
    QString password() const;
    bool remember() const;

private:
    QLabel* m_question = nullptr;
    QLineEdit* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    QCheckBox* m_remember = nullptr;
};
