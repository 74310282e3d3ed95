#pragma once

#include <QString>

class QWidget;

// Asks the clerk where to save a file, in the toolkit's own dialog made to read Chinese
// throughout (its file types too, which the toolkit's translations leave in English) and wide
// enough that its columns show names, sizes, types and dates whole. Empty when cancelled.
QString askSaveFileName(QWidget *parent, const QString &caption, const QString &suggested,
                        const QString &filter);

// Asks the clerk for a file that exists, to be read, in the same dialog.
QString askOpenFileName(QWidget *parent, const QString &caption, const QString &suggested,
                        const QString &filter);
