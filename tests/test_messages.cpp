// The real message boxes, answered by clicking their buttons: title, icon, button captions,
// and that only Yes lets a confirmation proceed.
#include "messages.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// Waits for the box to appear, notes what it shows and clicks the button with the caption.
void answerNextBox(SeenBox &seen, const QString &caption) {
    QTimer::singleShot(0, [&seen, caption] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            answerNextBox(seen, caption);
            return;
        }
        seen = {box->windowTitle(), box->text(), box->icon(), {}};
        QAbstractButton *chosen = nullptr;
        for (QAbstractButton *button : box->buttons()) {
            seen.buttons << button->text();
            if (button->text() == caption)
                chosen = button;
        }
        if (chosen)
            chosen->click();
        else
            box->close();
    });
}

} // namespace

class MessagesTest : public QObject {
    Q_OBJECT
private slots:
    void boxes_data();
    void boxes();
};

void MessagesTest::boxes_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("click");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<bool>("proceeds");

    const QString appTitle = QStringLiteral("Marovel工资管理信息系统");
    using K = Messages::Kind;
    QTest::newRow("plain") << int(K::Plain) << "OK" << appTitle << int(QMessageBox::NoIcon)
                           << QStringList{"OK"} << true;
    QTest::newRow("information") << int(K::Information) << "OK"
                                 << "Information" << int(QMessageBox::Information)
                                 << QStringList{"OK"} << true;
    QTest::newRow("error") << int(K::Error) << "OK" << appTitle << int(QMessageBox::Critical)
                           << QStringList{"OK"} << true;
    QTest::newRow("confirmation, yes")
        << int(K::Confirmation) << "&Yes"
        << "Confirm" << int(QMessageBox::Question) << QStringList{"&Yes", "&No"} << true;
    QTest::newRow("confirmation, no")
        << int(K::Confirmation) << "&No"
        << "Confirm" << int(QMessageBox::Question) << QStringList{"&Yes", "&No"} << false;
    QTest::newRow("confirmation, closed")
        << int(K::Confirmation) << ""
        << "Confirm" << int(QMessageBox::Question) << QStringList{"&Yes", "&No"} << false;
}

void MessagesTest::boxes() {
    QFETCH(int, kind);
    QFETCH(QString, click);
    SeenBox seen;
    answerNextBox(seen, click);
    const QString text = QStringLiteral("保存成功，是否继续添加?");
    bool proceeds = true;
    switch (Messages::Kind(kind)) {
    case Messages::Kind::Plain:
        Messages::plain(text);
        break;
    case Messages::Kind::Information:
        Messages::information(text);
        break;
    case Messages::Kind::Confirmation:
        proceeds = Messages::confirm(text);
        break;
    case Messages::Kind::Error:
        Messages::error(text);
        break;
    }
    QTEST(seen.title, "title");
    QTEST(int(seen.icon), "icon");
    QTEST(seen.buttons, "buttons");
    QTEST(proceeds, "proceeds");
    // The text ends in its own question mark, after which not even the error box adds a full
    // stop (its rule, row by row, is the frame's test).
    QCOMPARE(seen.text, text);
}

QTEST_MAIN(MessagesTest)
#include "test_messages.moc"
