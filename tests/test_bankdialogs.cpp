// The clerk's side of the bank's payment file: the profile dialog stores only a whole profile
// and never over another clerk's change; the export asks before it writes, and a cancelled or
// refused export leaves no file.
#include "audittrail.h"
#include "bankexportdialog.h"
#include "bankmonth.h"
#include "bankprofiledialog.h"
#include "filedialoganswer.h"
#include "flatbutton.h"
#include "modulerun.h"
#include "operator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>

namespace {

const QString changedElsewhere =
    QStringLiteral("这条记录已被其他操作员修改，本次修改未保存！请查看刷新后的内容。");

// Every profile as stored: name, kind, separator, and its fields with their widths.
QStringList storedProfiles() {
    return fileRows("select g.mc,g.wjlx,g.fgf,z.xh,z.zd,z.bt,z.nr,z.kd,z.dq from YHDFGS g "
                    "left join YHDFZD z on z.gsbh=g.bh order by g.bh,z.xh");
}

void setText(QTableWidget *table, int row, int column, const QString &text) {
    table->item(row, column)->setText(text);
}

int rowOf(QListWidget *list, const QString &name) {
    const QList<QListWidgetItem *> found = list->findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? -1 : list->row(found.first());
}

enum class BadEdit {
    EmptyName,
    NoFields,
    ZeroWidth,
    WidthNotANumber,
    CsvWithoutSeparator,
    NameOfAnother,
    ConstantWithoutText
};

const QString march = "202603";

} // namespace

class BankDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void profileDialogRefusesWhatCannotBeStored_data();
    void profileDialogRefusesWhatCannotBeStored();
    void changeOfAnotherClerkIsNotOverwritten_data();
    void changeOfAnotherClerkIsNotOverwritten();
    void profilesAreMadeCopiedChangedAndDeleted();
    void exportIsWrittenOnlyWhenAccepted_data();
    void exportIsWrittenOnlyWhenAccepted();
};

void BankDialogsTest::profileDialogRefusesWhatCannotBeStored_data() {
    QTest::addColumn<BadEdit>("edit");
    QTest::addColumn<QString>("message");

    QTest::newRow("empty name") << BadEdit::EmptyName << "格式名称不能为空！";
    QTest::newRow("no fields") << BadEdit::NoFields << "格式至少要有一个字段！";
    QTest::newRow("a fixed width of 0") << BadEdit::ZeroWidth << "第1个字段的宽度必须大于0！";
    QTest::newRow("a fixed width that is no number")
        << BadEdit::WidthNotANumber << "第3个字段的宽度必须大于0！";
    QTest::newRow("csv without separator")
        << BadEdit::CsvWithoutSeparator << "CSV文件的分隔符不能为空！";
    QTest::newRow("the name of another profile")
        << BadEdit::NameOfAnother << "已有名为“通用Excel格式”的格式！";
    QTest::newRow("a constant without its text")
        << BadEdit::ConstantWithoutText << "第5个字段（常量）的内容不能为空！";
}

void BankDialogsTest::profileDialogRefusesWhatCannotBeStored() {
    QFETCH(BadEdit, edit);
    QFETCH(QString, message);
    Workspace workspace;
    const QStringList before = storedProfiles();
    runModule<BankProfileDialog>([&](BankProfileDialog &dialog) {
        QVERIFY(waitUntilActive(dialog));
        dialog.l_gs->setCurrentRow(rowOf(dialog.l_gs, "GBK定长文本"));
        QCOMPARE(dialog.e_mc->text(), QStringLiteral("GBK定长文本"));
        switch (edit) {
        case BadEdit::EmptyName:
            dialog.e_mc->setText("  ");
            break;
        case BadEdit::NoFields:
            while (dialog.t_zd->rowCount() > 0)
                click(dialog.b_delfield);
            break;
        case BadEdit::ZeroWidth:
            setText(dialog.t_zd, 0, 3, "0");
            break;
        case BadEdit::WidthNotANumber:
            setText(dialog.t_zd, 2, 3, "十五");
            break;
        case BadEdit::CsvWithoutSeparator:
            dialog.c_wjlx->setCurrentIndex(int(BankFileKind::Separated));
            dialog.e_fgf->clear();
            break;
        case BadEdit::NameOfAnother:
            dialog.e_mc->setText("通用Excel格式");
            break;
        case BadEdit::ConstantWithoutText:
            click(dialog.b_addfield);
            break;
        }
        click(dialog.b_save);
        QCOMPARE(workspace.shownTexts(), QStringList{message});
    });
    QCOMPARE(storedProfiles(), before);
}

void BankDialogsTest::changeOfAnotherClerkIsNotOverwritten_data() {
    QTest::addColumn<bool>("deleting");
    QTest::newRow("saving") << false;
    QTest::newRow("deleting") << true;
}

void BankDialogsTest::changeOfAnotherClerkIsNotOverwritten() {
    QFETCH(bool, deleting);
    Workspace workspace;
    workspace.answerConfirmations({true});
    runModule<BankProfileDialog>([&](BankProfileDialog &dialog) {
        QVERIFY(waitUntilActive(dialog));
        dialog.l_gs->setCurrentRow(rowOf(dialog.l_gs, "GBK定长文本"));
        workspace.exec("update YHDFZD set kd=24 where xh=1 and gsbh="
                       "(select bh from YHDFGS where mc='GBK定长文本')");
        if (deleting) {
            click(dialog.b_delete);
        } else {
            dialog.e_mc->setText("工行定长");
            click(dialog.b_save);
        }
        QStringList told{changedElsewhere};
        if (deleting)
            told.prepend("确定删除格式“GBK定长文本”吗？");
        QCOMPARE(workspace.shownTexts(), told);
        // The dialog shows the profile as the other clerk left it.
        QCOMPARE(dialog.e_mc->text(), QStringLiteral("GBK定长文本"));
        QCOMPARE(dialog.t_zd->item(0, 3)->text(), QStringLiteral("24"));
    });
    QCOMPARE(fileRows("select g.mc,z.kd from YHDFGS g join YHDFZD z on z.gsbh=g.bh "
                      "where z.xh=1 and g.wjlx='txt'"),
             QStringList{"GBK定长文本|24"});
}

void BankDialogsTest::profilesAreMadeCopiedChangedAndDeleted() {
    Workspace workspace;
    workspace.answerConfirmations({true});
    runModule<BankProfileDialog>([&](BankProfileDialog &dialog) {
        QVERIFY(waitUntilActive(dialog));
        click(dialog.b_new);
        dialog.e_mc->setText("工商银行");
        dialog.c_wjlx->setCurrentIndex(int(BankFileKind::Separated));
        dialog.e_fgf->setText(",");
        click(dialog.b_save);

        dialog.l_gs->setCurrentRow(rowOf(dialog.l_gs, "GBK定长文本"));
        click(dialog.b_copy);
        QCOMPARE(dialog.e_mc->text(), QStringLiteral("GBK定长文本（副本）"));
        dialog.c_bm->setCurrentIndex(1);
        click(dialog.b_save);

        dialog.l_gs->setCurrentRow(rowOf(dialog.l_gs, "通用Excel格式"));
        dialog.c_hjh->setCurrentIndex(int(BankTotalLine::Last));
        click(dialog.b_delfield);
        click(dialog.b_save);

        dialog.l_gs->setCurrentRow(rowOf(dialog.l_gs, "GBK定长文本"));
        click(dialog.b_delete);
        QVERIFY2(workspace.shownMessages().size() == 1,
                 qPrintable(workspace.shownTexts().join('\n')));
        QCOMPARE(dialog.l_gs->count(), 3);
    });
    QCOMPARE(fileRows("select mc,wjlx,bm,fgf,hjh from YHDFGS order by bh"),
             (QStringList{"通用Excel格式|xlsx|UTF-8||2", "工商银行|csv|GBK|,|0",
                          "GBK定长文本（副本）|txt|UTF-8|||1"}));
    QCOMPARE(fileRows("select g.mc,z.zd,z.kd from YHDFZD z join YHDFGS g on g.bh=z.gsbh "
                      "order by g.bh,z.xh"),
             (QStringList{"通用Excel格式|账号|0", "通用Excel格式|户名|0", "通用Excel格式|金额|0",
                          "工商银行|账号|20", "工商银行|户名|20", "工商银行|金额|20",
                          "GBK定长文本（副本）|账号|20", "GBK定长文本（副本）|户名|20",
                          "GBK定长文本（副本）|金额|15", "GBK定长文本（副本）|用途|10"}));
}

void BankDialogsTest::exportIsWrittenOnlyWhenAccepted_data() {
    QTest::addColumn<QString>("profile");
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("written");

    const QString asked = "2026年3月按“通用Excel格式”代发2人，合计15245.67元。\n"
                          "没有银行账号，不代发：王五（编号3）、孙八（编号6）\n"
                          "实发工资为零或负数，不代发：赵六（编号4） 0.00、钱七（编号5） -50.00\n"
                          "确定生成银行代发文件吗？";
    const QString open = "2026年3月尚未结账，其工资仍可能调整，导出的文件将与日后的数据不符。"
                         "仍要导出吗？";
    const QString saved = "银行代发文件已保存：%1";
    const QString notWritten = "已取消，没有生成银行代发文件。";
    QTest::newRow("accepted") << "通用Excel格式"
                              << "" << true << QList<bool>{true} << QStringList{asked, saved}
                              << true;
    QTest::newRow("declined") << "通用Excel格式"
                              << "" << true << QList<bool>{false} << QStringList{asked, notWritten}
                              << false;
    QTest::newRow("an open month, once the clerk accepts the warning")
        << "通用Excel格式"
        << "" << false << QList<bool>{true, true} << QStringList{open, asked, saved} << true;
    QTest::newRow("an open month, the warning declined")
        << "通用Excel格式"
        << "" << false << QList<bool>{false} << QStringList{open, notWritten} << false;
    QTest::newRow("a name GBK cannot carry, before anything is asked")
        << "GBK定长文本"
        << "update GZB set xm='李四😀' where ygh=2" << true << QList<bool>{true}
        << QStringList{"员工“李四😀”（编号2）的户名“李四😀”含有GBK编码中没有的字符，"
                       "不能写入银行文件。请修改，或改用UTF-8编码的格式。"}
        << false;
    QTest::newRow("nobody to pay")
        << "通用Excel格式"
        << "update YGZJ set yhzh=null" << true << QList<bool>{true}
        << QStringList{"2026年3月没有可以代发的工资，未生成文件。"} << false;
}

void BankDialogsTest::exportIsWrittenOnlyWhenAccepted() {
    QFETCH(QString, profile);
    QFETCH(QString, change);
    QFETCH(bool, closed);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, messages);
    QFETCH(bool, written);
    Workspace workspace;
    addBankMonth(workspace);
    if (!change.isEmpty())
        workspace.exec(change);
    if (closed)
        workspace.exec("insert into GZJZ (ny) values ('202603')");
    workspace.answerConfirmations(answers);
    const QString path = QDir(workspace.path()).filePath("代发.xlsx");
    QString suggested;
    runModule<BankExportDialog>([&](BankExportDialog &dialog) {
        QVERIFY(waitUntilActive(dialog));
        QCOMPARE(dialog.c_ny->currentData().toString(), QStringLiteral("202604"));
        dialog.c_ny->setCurrentIndex(dialog.c_ny->findData(march));
        dialog.c_gs->setCurrentIndex(dialog.c_gs->findText(profile));
        suggested = answerFileDialog([&] { click(dialog.b_export); }, path);
    });
    if (written) {
        QCOMPARE(suggested, QStringLiteral("银行代发_202603_通用Excel格式.xlsx"));
        messages.last() = messages.last().arg(path);
    }
    QCOMPARE(workspace.shownTexts(), messages);
    QCOMPARE(QFile::exists(path), written);
    QCOMPARE(QDir(workspace.path()).entryList({"*代发*"}, QDir::Files | QDir::Hidden),
             written ? QStringList{"代发.xlsx"} : QStringList());
    // The file on the month's trail, with the digest of what was written.
    QCOMPARE(fileRows("select ny, wjm, sha from SJJL where wjm is not null"),
             written ? QStringList{"202603|代发.xlsx|" + AuditTrail::fileSha256(path)}
                     : QStringList());
}

QTEST_MAIN(BankDialogsTest)
#include "test_bankdialogs.moc"
