#include "ui/FindBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>
#include <QWebEngineFindTextResult>
#include <QWebEnginePage>
#include <QWebEngineView>

FindBar::FindBar(QWebEngineView& view, QWidget* parent)
    : QWidget(parent), m_view(&view), m_text(new QLineEdit(this)), m_result(new QLabel(this))
{
    setObjectName(QStringLiteral("findBar"));
    m_text->setObjectName(QStringLiteral("findEdit"));
    m_text->setPlaceholderText(tr("Find in page"));
    m_text->setClearButtonEnabled(true);
    m_text->installEventFilter(this);
    m_result->setObjectName(QStringLiteral("findResult"));
    auto* previous = new QToolButton(this);
    previous->setObjectName(QStringLiteral("findPreviousButton"));
    previous->setArrowType(Qt::UpArrow);
    previous->setToolTip(tr("Previous match (Shift+Enter)"));
    auto* next = new QToolButton(this);
    next->setObjectName(QStringLiteral("findNextButton"));
    next->setArrowType(Qt::DownArrow);
    next->setToolTip(tr("Next match (Enter)"));
    auto* closeButton = new QToolButton(this);
    closeButton->setObjectName(QStringLiteral("findCloseButton"));
    closeButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    closeButton->setToolTip(tr("Close (Esc)"));
    closeButton->setAutoRaise(true);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->addWidget(m_text, 1);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(m_result);
    layout->addWidget(closeButton);

    connect(m_text, &QLineEdit::textChanged, this, [this] { find(false); });
    connect(m_text, &QLineEdit::returnPressed, this,
            [this] { find(QGuiApplication::keyboardModifiers() & Qt::ShiftModifier); });
    connect(previous, &QToolButton::clicked, this, [this] { find(true); });
    connect(next, &QToolButton::clicked, this, [this] { find(false); });
    connect(closeButton, &QToolButton::clicked, this, &FindBar::dismiss);
    connect(m_view->page(), &QWebEnginePage::findTextFinished, this,
            [this](const QWebEngineFindTextResult& found) {
                m_result->setText(m_text->text().isEmpty() ? QString()
                                  : found.numberOfMatches() == 0
                                      ? tr("Not found")
                                      : tr("%1 of %2").arg(found.activeMatch()).arg(found.numberOfMatches()));
            });
    hide();
}

void FindBar::start()
{
    show();
    m_text->setFocus(Qt::ShortcutFocusReason);
    m_text->selectAll();
}

void FindBar::dismiss()
{
    hide();
    m_result->clear();
    if (m_view) {
        m_view->page()->findText(QString());
        m_view->setFocus();
    }
}

void FindBar::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        dismiss();
    else
        QWidget::keyPressEvent(event);
}

bool FindBar::eventFilter(QObject* watched, QEvent* event)
{
    // Escape in the field is the bar's, not the pane's shortcut that stops a page loading.
    if (watched == m_text && event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FindBar::find(bool backward)
{
    if (m_view)
        m_view->page()->findText(m_text->text(),
                                 backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags());
}
