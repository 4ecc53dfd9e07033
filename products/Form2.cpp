#include "products/Form2.h"

#include "app/Module1.h"
#include "app/Twips.h"
#include "products/Form4.h"
#include "products/ProductList.h"
#include "products/ProductProfiles.h"
#include "ui/FixedDialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

Form2::Form2(QString appFolder, QWidget* parent)
    : QDialog(parent, FixedDialog::Flags), m_appFolder(std::move(appFolder))
{
    FixedDialog::setUp(*this, "Form2", QStringLiteral("Softwares"), 4800, 4320);

    m_list1 = new QListWidget(this);
    m_list1->setObjectName(QStringLiteral("List1"));
    m_list1->setGeometry(Twips::rect(180, 420, 4395, 3180));
    m_list1->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* label1 = new QLabel(QStringLiteral("Select An Product"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(Twips::rect(180, 120, 2355, 195));

    struct ButtonLayout {
        const char* name;
        const char* text;
        int left;
        int width;
        void (Form2::*handler)();
    };
    const ButtonLayout buttons[] = {
        {"Command1", "Add...", 180, 735, &Form2::Command1_Click},
        {"Command2", "Edit...", 1080, 795, &Form2::Command2_Click},
        {"Command3", "Delete", 2040, 735, &Form2::Command3_Click},
        {"Command4", "OK", 2940, 795, &Form2::Command4_Click},
        {"Command5", "Cancel", 3900, 735, &Form2::Command5_Click},
    };
    QWidget* previous = m_list1;
    for (const ButtonLayout& row : buttons) {
        auto* button = new QPushButton(QLatin1String(row.text), this);
        button->setObjectName(QLatin1String(row.name));
        button->setGeometry(Twips::rect(row.left, 3780, row.width, 315));
        // No button is the default: Enter presses nothing.
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, row.handler);
        setTabOrder(previous, button);
        previous = button;
    }
}

Form2::~Form2() = default;

void Form2::setVisible(bool visible)
{
    // Each opening starts afresh from the folder, before the dialog appears.
    if (visible && !isVisible())
        Form_Load();
    QDialog::setVisible(visible);
}

void Form2::Form_Load()
{
    m_list1->clear();
    m_list1->addItems(ProductProfiles::list(m_appFolder));
    selectRow(ProductList::preselectedRow(names(), Module1::ActiveProduct.ProgramName));
    m_list1->setFocus();
}

void Form2::Command1_Click()
{
    Module1::ProductEditMode = 2;
    Form4& editor = openEditor();
    editor.exec();
}

void Form2::Command2_Click()
{
    Module1::ProductEditMode = 3;
    const QString name = selectedName();
    if (name.isEmpty())
        return;
    // A profile that cannot be read opens nothing rather than an editor that would save
    // made-up values over it.
    const std::optional<Product> stored = ProductProfiles::read(m_appFolder, name);
    if (!stored)
        return;
    Form4& editor = openEditor();
    editor.editProfile(name, *stored);
    editor.exec();
}

void Form2::Command3_Click()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    ProductProfiles::remove(m_appFolder, m_list1->item(row)->text());
    delete m_list1->takeItem(row);
    selectRow(ProductList::rowAfterRemoval(row, m_list1->count()));
}

void Form2::Command4_Click()
{
    const QString name = selectedName();
    if (!name.isEmpty()) {
        if (const std::optional<Product> product = ProductProfiles::read(m_appFolder, name))
            Module1::ActiveProduct = *product;
    }
    accept();
}

void Form2::Command5_Click()
{
    reject();
}

Form4& Form2::openEditor()
{
    if (!m_form4) {
        m_form4 = std::make_unique<Form4>(m_appFolder, this);
        connect(m_form4.get(), &Form4::profileSaved, this, &Form2::onProfileSaved);
    }
    m_form4->Form_Load();
    return *m_form4;
}

void Form2::onProfileSaved(const QString& name, const QString& replacedName)
{
    if (!replacedName.isEmpty()) {
        const QList<QListWidgetItem*> old =
            m_list1->findItems(replacedName, Qt::MatchExactly | Qt::MatchCaseSensitive);
        for (QListWidgetItem* item : old)
            delete m_list1->takeItem(m_list1->row(item));
    }
    const int row = ProductList::insertionRow(names(), name);
    if (row >= m_list1->count() || m_list1->item(row)->text() != name)
        m_list1->insertItem(row, name);
    selectRow(row);
}

QStringList Form2::names() const
{
    QStringList texts;
    texts.reserve(m_list1->count());
    for (int i = 0; i < m_list1->count(); ++i)
        texts.append(m_list1->item(i)->text());
    return texts;
}

void Form2::selectRow(int row)
{
    if (row >= 0 && row < m_list1->count())
        m_list1->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

int Form2::selectedRow() const
{
    const QList<QListWidgetItem*> selected = m_list1->selectedItems();
    return selected.isEmpty() ? -1 : m_list1->row(selected.first());
}

QString Form2::selectedName() const
{
    const int row = selectedRow();
    return row >= 0 ? m_list1->item(row)->text() : QString();
}

void Form2::keyPressEvent(QKeyEvent* event)
{
    // Escape does not close the manager; only its buttons and its close box do.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
