#pragma once

#include <QDialog>
#include <memory>

class Form4;
class QLabel;
class QListWidget;
class QPushButton;

// The product manager, "Softwares": lists the product profiles of the folder Info, adds, edits
// and deletes them through the product information editor, and makes the selected one the
// active product ("OK", the only writer of Module1::ActiveProduct).
//
// Every time it is shown it rebuilds its list from the folder and preselects the active product;
// the list is the dialog's whole state. It owns the editor, creates it on first use and keeps it
// for every later use.
class Form2 final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Form2)
public:
    explicit Form2(QString appFolder, QWidget* parent = nullptr);
    ~Form2() override;

    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();

    QListWidget* List1() const { return m_list1; }
    // The editor, once it has been opened.
    Form4* editor() const { return m_form4.get(); }

    void setVisible(bool visible) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    Form4& openEditor();
    QStringList names() const;
    void selectRow(int row);
    void onProfileSaved(const QString& name, const QString& replacedName);
    int selectedRow() const;
    QString selectedName() const;

    QString m_appFolder;
    QListWidget* m_list1 = nullptr;
    std::unique_ptr<Form4> m_form4;
};
