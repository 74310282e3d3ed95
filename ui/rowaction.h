#pragma once

#include <QAction>
#include <QWidget>

// A command on a list's rows, offered in the list's context menu. A right click makes the row
// under the pointer current first, so the command acts on the row the clerk pointed at.
inline QAction *addRowAction(QWidget *list, const QString &text) {
    list->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *action = new QAction(text, list);
    list->addAction(action);
    return action;
}
