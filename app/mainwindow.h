#pragma once

#include <QList>
#include <QWidget>

class FlatButton;
class QAction;
class QLabel;

// The main window: a borderless picture with a column of seven module buttons and their
// captions. It holds no data; it opens one module window at a time and ends the program.
class Tfrm_main : public QWidget {
    Q_OBJECT
public:
    explicit Tfrm_main(QWidget *parent = nullptr);

    // Compacts the database file; see compaction.h. Yes only when the file was replaced.
    // Work that lasts shows "正在备份并整理数据库…" meanwhile.
    static bool CompactDatabase(const QString &fileName, const QString &password);

    FlatButton *SpeedButton3 = nullptr;
    QLabel *Label8 = nullptr;
    QList<QLabel *> captionLabels;
    QList<FlatButton *> moduleButtons;
    // The commands of the window's context menu.
    QAction *bankFileAction = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void l_tcMouseEnter(QLabel *caption);
    void l_tcMouseLeave(QLabel *caption);
    void SpeedButton3Click();
};
