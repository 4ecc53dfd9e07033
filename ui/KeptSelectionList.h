#pragma once

#include <QListWidget>

// A single-selection list whose selection the user cannot clear: Ctrl+click or Ctrl+Space on the
// selected entry keeps it selected, as a plain click does. Code may still clear it.
class KeptSelectionList final : public QListWidget {
    Q_OBJECT
public:
    explicit KeptSelectionList(QWidget* parent = nullptr) : QListWidget(parent)
    {
        setSelectionMode(QAbstractItemView::SingleSelection);
    }

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override
    {
        const QItemSelectionModel::SelectionFlags command = QListWidget::selectionCommand(index, event);
        if (command.testFlag(QItemSelectionModel::Deselect) || command.testFlag(QItemSelectionModel::Toggle))
            return QItemSelectionModel::NoUpdate;
        return command;
    }
};
