// The two dialogs where the clerk sets computed items, reached from the context menus of the
// item and employee lists: what they store, and that bad input is named and stores nothing.
#include "computationsettings.h"
#include "currencyedit.h"
#include "dbgrid.h"
#include "employeeprofile.h"
#include "employeetax.h"
#include "itemcomputation.h"
#include "modulerun.h"
#include "monthkey.h"
#include "operator.h"
#include "withholding.h"
#include "workspace.h"
#include "xmsz.h"
#include "ygsz.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

namespace {

// Runs `fill` on the dialog the row command opens, once it is shown; `fill` presses its
// buttons.
template <typename Dialog> void onDialog(QWidget *list, const std::function<void(Dialog &)> &fill) {
    QTimer::singleShot(0, list, [fill] {
        auto *dialog = dynamic_cast<Dialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        fill(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    list->actions().first()->trigger();
}

void setCell(QTableWidget *table, int row, int column, const QString &text) {
    table->setItem(row, column, new QTableWidgetItem(text));
}

// Runs `look` on the item dialog of a tax item or on the employee dialog, as first shown.
void onSettingsDialog(const QString &dialog, const std::function<void(ModuleForm &)> &look) {
    Workspace workspace;
    if (dialog == "item") {
        workspace.exec("insert into GZXMZD (mc,S_JC,S_FK) values ('个人所得税',0,'1')");
        runModule<Tfrm_xmsz>(std::function<void(Tfrm_xmsz &)>(
            [&](Tfrm_xmsz &window) { onDialog<ItemComputationDialog>(window.RxDBGrid2, look); }));
    } else {
        workspace.exec("insert into BMZD (mc) values ('财务科')");
        workspace.exec("insert into YGZD (xm,bmh,zt) values ('林晓梅',1,'1')");
        runModule<Tfrm_ygsz>(std::function<void(Tfrm_ygsz &)>(
            [&](Tfrm_ygsz &window) { onDialog<EmployeeTaxDialog>(window.RxDBGrid1, look); }));
    }
}

} // namespace

class ComputationDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void itemComputation();
    void taxTable();
    void yearEndBonusItems();
    void employeeTax();
    void deductionsKeptToTheLaw_data();
    void deductionsKeptToTheLaw();
    void yearChoices_data();
    void yearChoices();
    void taxReliefByMonth_data();
    void taxReliefByMonth();
    void ratesChangeFromAMonth_data();
    void ratesChangeFromAMonth();
    void basesChangeFromAMonth_data();
    void basesChangeFromAMonth();
    void cellsShownAsEveryWindowShowsThem_data();
    void cellsShownAsEveryWindowShowsThem();
    void captionsInFullWidthPunctuation_data();
    void captionsInFullWidthPunctuation();
    void datesOutsideTheKeptMonthsAreRefused_data();
    void datesOutsideTheKeptMonthsAreRefused();
    void changeMadeMeanwhileIsNotOverwritten_data();
    void changeMadeMeanwhileIsNotOverwritten();
};

void ComputationDialogsTest::itemComputation() {
    Workspace workspace;
    workspace.exec("insert into GZXMZD (mc,S_JC,S_FK) values ('基本工资',1,'0')");
    workspace.exec("insert into GZXMZD (mc,S_JC,S_FK) values ('养老保险',1,'1')");
    runModule<Tfrm_xmsz>(std::function<void(Tfrm_xmsz &)>([&](Tfrm_xmsz &window) {
        QCOMPARE(window.RxDBGrid2->actions().first()->text(), "计算方式…");
        onDialog<ItemComputationDialog>(window.RxDBGrid2, [&](ItemComputationDialog &dialog) {
            QCOMPARE(dialog.l_mc->text(), "项目：养老保险");
            QCOMPARE(dialog.c_jsfs->count(), 4);
            dialog.c_jsfs->setCurrentIndex(1);
            dialog.e_bl->setText("8.12345");
            dialog.b_ok->click();
            QCOMPARE(workspace.shownTexts(), QStringList{"比例输入错误！"});
            QCOMPARE(fileRows("select count(*) from GZXMJS"), QStringList{"0"});
            dialog.e_bl->setText("8");
            dialog.e_xx->setValue(*Currency::fromText(u"30000"));
            dialog.e_sx->setValue(*Currency::fromText(u"20000"));
            dialog.b_ok->click();
            QCOMPARE(workspace.shownTexts().last(), "下限、上限输入错误！");
            QCOMPARE(fileRows("select count(*) from GZXMJS"), QStringList{"0"});
            dialog.e_xx->setValue(Currency());
            dialog.c_sqkc->setChecked(true);
            dialog.b_ok->click();
            QVERIFY(!dialog.isVisible());
        });
        // Earnings cannot be the tax; an earning may be left untaxed.
        onDialog<ItemComputationDialog>(window.RxDBGrid1, [&](ItemComputationDialog &dialog) {
            QCOMPARE(dialog.c_jsfs->count(), 3);
            dialog.c_js->setChecked(false);
            dialog.b_ok->click();
        });
    }));
    QCOMPARE(fileRows("select xmbh,jsfs,bl,jsjs,xx,sx,sqkc,bjs from GZXMJS order by xmbh"),
             (QStringList{"1|0|0|1|||0|1", "2|1|80000|1||20000|1|0"}));
}

// A change of law is a new dated table; a wrong line stores nothing at all.
void ComputationDialogsTest::taxTable() {
    Workspace workspace;
    workspace.exec("insert into GZXMZD (mc,S_JC,S_FK) values ('个人所得税',0,'1')");
    runModule<Tfrm_xmsz>(std::function<void(Tfrm_xmsz &)>([&](Tfrm_xmsz &window) {
        onDialog<ItemComputationDialog>(window.RxDBGrid2, [&](ItemComputationDialog &dialog) {
            QCOMPARE(dialog.e_qsny->text(), "2019年1月");
            QCOMPARE(dialog.e_jcfy->value().toFixed2(), "5000.00");
            QCOMPARE(dialog.t_sl->item(6, 1)->text(), "45");
            dialog.c_jsfs->setCurrentIndex(2);
            dialog.e_qsny->setText("202713");
            dialog.b_ok->click();
            QCOMPARE(workspace.shownTexts().last(), "起始月份输入错误！");
            dialog.e_qsny->setText("202701");
            dialog.e_jcfy->setValue(*Currency::fromText(u"6000"));
            setCell(dialog.t_sl, 1, 0, "30000"); // below the line before
            dialog.b_ok->click();
            QCOMPARE(workspace.shownTexts().last(), "税率表第2行输入错误！");
            QCOMPARE(fileRows("select count(*) from GZXMJS"), QStringList{"0"});
            setCell(dialog.t_sl, 1, 0, "144000");
            dialog.b_ok->click();
            QVERIFY(!dialog.isVisible());
        });
        // Opened again, it shows the new law and stores over it as it is.
        onDialog<ItemComputationDialog>(window.RxDBGrid2, [&](ItemComputationDialog &dialog) {
            QCOMPARE(dialog.e_qsny->text(), "2027年1月");
            QCOMPARE(dialog.c_jsfs->currentIndex(), 2);
            dialog.b_ok->click();
            QVERIFY(!dialog.isVisible());
        });
    }));
    QCOMPARE(fileRows("select qsny,je from GSJCFY order by qsny"),
             (QStringList{"201901|5000", "202701|6000"}));
    QCOMPARE(fileRows("select count(*) from GSSLB where qsny='202701'"), QStringList{"7"});
    QCOMPARE(fileRows("select jsfs from GZXMJS"), QStringList{"2"});
}

void ComputationDialogsTest::employeeTax() {
    Workspace workspace;
    workspace.exec("insert into BMZD (mc) values ('财务科')");
    workspace.exec("insert into YGZD (xm,xb,csrq,gzrq,bmh,zw,zt) values "
                   "('林晓梅','女','1982- 5-20','2004- 8- 2',1,'财务总监','1')");
    runModule<Tfrm_ygsz>(std::function<void(Tfrm_ygsz &)>([&](Tfrm_ygsz &window) {
        QCOMPARE(window.RxDBGrid1->actions().first()->text(), "个税与社保…");
        onDialog<EmployeeTaxDialog>(window.RxDBGrid1, [&](EmployeeTaxDialog &dialog) {
            dialog.e_sbjs->setValue(*Currency::fromText(u"30000"));
            dialog.e_gjjjs->setValue(*Currency::fromText(u"25000"));
            setCell(dialog.t_zxkc, 0, 1, "2000");
            setCell(dialog.t_zxkc, 0, 2, "2026-1");
            dialog.b_ok->click();
            QCOMPARE(workspace.shownTexts().last().left(9), "子女教育输入错误：");
            dialog.t_zxkc->item(0, 2)->setText("202601");
            dialog.e_qcsr->setValue(*Currency::fromText(u"180000"));
            dialog.b_ok->click();
            QCOMPARE(workspace.shownTexts().last(), "年初数据的年度输入错误！");
            QCOMPARE(fileRows("select count(*) from YGJS"), QStringList{"0"});
            dialog.e_qcnd->setText("2026");
            dialog.b_ok->click();
            QVERIFY(!dialog.isVisible());
        });
        // Opened again, it shows what was stored, and stores over it.
        onDialog<EmployeeTaxDialog>(window.RxDBGrid1, [&](EmployeeTaxDialog &dialog) {
            QCOMPARE(dialog.e_gjjjs->value().toFixed2(), "25000.00");
            QCOMPARE(dialog.t_jsls->rowCount(), 1);
            QCOMPARE(dialog.t_jsls->item(0, 0)->text(), "最初");
            QCOMPARE(dialog.t_jsls->item(0, 2)->text(), "25000.00");
            QCOMPARE(dialog.t_zxkc->item(0, 2)->text(), "2026年1月");
            dialog.b_ok->click();
            QVERIFY(!dialog.isVisible());
        });
    }));
    QCOMPARE(fileRows("select ygh,sbjs,gjjjs,qcnd,qcsr from YGJS"),
             QStringList{"1|30000|25000|2026|180000"});
    QCOMPARE(fileRows("select lb,je,qsny,zzny from YGZXKC"), QStringList{"子女教育|2000|202601|"});
}

// A percentage item's rate, floor and cap are kept from a month on as the bases are; an item
// given its percentage only now has no stored month computed with it.
void ComputationDialogsTest::ratesChangeFromAMonth_data() {
    QTest::addColumn<QString>("before"); // SQL run first; empty: none
    QTest::addColumn<QString>("from");   // typed into the month box
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("rows"); // bl|sx of GZXMJS, then qsny|bl|sx of each change
    const QString percentage = "insert into GZXMJS (xmbh,jsfs,bl,sx) values (1,'1',80000,null)";
    const QString stored = "insert into GZB (ny,ygh) values ('202603',1)";
    QTest::newRow("first rate") << percentage << ""
                                << "" << QStringList{"9|20000"};
    QTest::newRow("given a percentage now") << stored << "2026年7月"
                                            << "" << QStringList{"9|20000"};
    QTest::newRow("from July") << percentage + ";" + stored << "2026年7月"
                               << "" << QStringList{"8|", "202607|9|20000"};
    QTest::newRow("July again")
        << percentage + ";" + stored +
               ";insert into GZXMJSBD (xmbh,qsny,bl) values (1,'202607',85000)"
        << "202607"
        << "" << QStringList{"8|", "202607|9|20000"};
    QTest::newRow("from the first with a month stored")
        << percentage + ";" + stored << ""
        << "已有已存月份的工资，比例、下限或上限变动请填写起始月份！" << QStringList{"8|"};
    QTest::newRow("month 13") << percentage + ";" + stored << "2026年13月"
                              << "比例起始月份输入错误！" << QStringList{"8|"};
}

void ComputationDialogsTest::ratesChangeFromAMonth() {
    QFETCH(QString, before);
    QFETCH(QString, from);
    QFETCH(QString, message);
    Workspace workspace;
    workspace.exec("insert into GZXMZD (mc,S_JC,S_FK) values ('养老保险',1,'1')");
    for (const QString &sql : before.split(';', Qt::SkipEmptyParts))
        workspace.exec(sql);
    runModule<Tfrm_xmsz>(std::function<void(Tfrm_xmsz &)>([&](Tfrm_xmsz &window) {
        onDialog<ItemComputationDialog>(window.RxDBGrid2, [&](ItemComputationDialog &dialog) {
            dialog.c_jsfs->setCurrentIndex(1);
            dialog.e_bl->setText("9");
            dialog.e_sx->setValue(*Currency::fromText(u"20000"));
            dialog.e_blqsny->setText(from);
            dialog.b_ok->click();
            QCOMPARE(dialog.isVisible(), !message.isEmpty());
        });
        // Opened again: the history as stored, the boxes holding its latest row.
        onDialog<ItemComputationDialog>(window.RxDBGrid2, [&](ItemComputationDialog &dialog) {
            const int last = dialog.t_blls->rowCount() - 1;
            QCOMPARE(dialog.t_blls->item(last, 1)->text(), dialog.e_bl->text());
            QCOMPARE(dialog.e_blqsny->text(),
                     last == 0 ? QString() : dialog.t_blls->item(last, 0)->text());
            QCOMPARE(dialog.t_blls->item(0, 0)->text(), "最初");
        });
    }));
    QCOMPARE(workspace.shownTexts(), message.isEmpty() ? QStringList() : QStringList{message});
    QTEST(fileRows("select bl/10000,sx/10000 from GZXMJS") +
              fileRows("select qsny,bl/10000,sx/10000 from GZXMJSBD order by qsny"),
          "rows");
}

// The bases are kept from a month on: a change from a month adds a row (or replaces that
// month's), and the bases stored months were computed with are never overwritten. The
// dialog shows the latest from their month over the whole history.
void ComputationDialogsTest::basesChangeFromAMonth_data() {
    QTest::addColumn<QString>("before"); // SQL run first; empty: none
    QTest::addColumn<QString>("from");   // typed into the month box
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("rows"); // sbjs of YGJS, then qsny|sbjs of each change
    const QString stored = "insert into GZB (ny,ygh) values ('202603',1)";
    const QString july = "insert into YGJSBD (ygh,qsny,sbjs,gjjjs,qtkc) values "
                         "(1,'202607',110000000,0,0)";
    QTest::newRow("first bases") << ""
                                 << ""
                                 << "" << QStringList{"12000"};
    QTest::newRow("from July") << stored << "2026年7月"
                               << "" << QStringList{"10200", "202607|12000"};
    QTest::newRow("July typed as a key") << stored << "202607"
                                         << "" << QStringList{"10200", "202607|12000"};
    QTest::newRow("July again") << stored + ";" + july << "2026年7月"
                                << "" << QStringList{"10200", "202607|12000"};
    QTest::newRow("before July") << stored + ";" + july << "2026年4月"
                                 << "" << QStringList{"10200", "202604|12000", "202607|11000"};
    QTest::newRow("from the first with a month stored")
        << stored << ""
        << "该员工已有已存月份的工资，基数变动请填写起始月份！" << QStringList{"10200"};
    QTest::newRow("month 13") << stored << "2026年13月"
                              << "基数起始月份输入错误！" << QStringList{"10200"};
    QTest::newRow("month not kept") << stored << "190001"
                                    << "基数起始月份输入错误！" << QStringList{"10200"};
}

void ComputationDialogsTest::basesChangeFromAMonth() {
    QFETCH(QString, before);
    QFETCH(QString, from);
    QFETCH(QString, message);
    Workspace workspace;
    workspace.exec("insert into BMZD (mc) values ('财务科')");
    workspace.exec("insert into YGZD (xm,bmh,zt) values ('林晓梅',1,'1')");
    workspace.exec("insert into YGJS (ygh,sbjs) values (1,102000000)");
    for (const QString &sql : before.split(';', Qt::SkipEmptyParts))
        workspace.exec(sql);
    runModule<Tfrm_ygsz>(std::function<void(Tfrm_ygsz &)>([&](Tfrm_ygsz &window) {
        onDialog<EmployeeTaxDialog>(window.RxDBGrid1, [&](EmployeeTaxDialog &dialog) {
            dialog.e_sbjs->setValue(*Currency::fromText(u"12000"));
            dialog.e_jsqsny->setText(from);
            dialog.b_ok->click();
            QCOMPARE(dialog.isVisible(), !message.isEmpty());
        });
        // Opened again: the history as stored, the boxes holding its latest row.
        onDialog<EmployeeTaxDialog>(window.RxDBGrid1, [&](EmployeeTaxDialog &dialog) {
            const int last = dialog.t_jsls->rowCount() - 1;
            QCOMPARE(dialog.t_jsls->item(last, 1)->text(), dialog.e_sbjs->value().toFixed2());
            QCOMPARE(dialog.e_jsqsny->text(),
                     last == 0 ? QString() : dialog.t_jsls->item(last, 0)->text());
            QStringList shown;
            for (int row = 0; row < dialog.t_jsls->rowCount(); ++row)
                shown << dialog.t_jsls->item(row, 0)->text();
            QCOMPARE(shown.size(), fileRows("select count(*) from YGJSBD").first().toInt() + 1);
            QCOMPARE(shown.first(), "最初");
        });
    }));
    QCOMPARE(workspace.shownTexts(), message.isEmpty() ? QStringList() : QStringList{message});
    QTEST(fileRows("select sbjs from YGJS") +
              fileRows("select qsny,sbjs from YGJSBD order by qsny"),
          "rows");
}

// Whatever the window or the clerk puts into a cell: amounts right-aligned with two decimals,
// months as "2019年1月" and wide enough to be read whole; what the clerk typed wrongly stays
// as typed, for saving to name it.
void ComputationDialogsTest::cellsShownAsEveryWindowShowsThem_data() {
    QTest::addColumn<QString>("dialog"); // item or employee
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("alignment");
    const int right = Qt::AlignRight | Qt::AlignVCenter;
    const int centre = Qt::AlignCenter;
    QTest::newRow("tax limit") << "item" << 0 << "36000"
                               << "36000.00" << right;
    QTest::newRow("tax limit with a fen") << "item" << 0 << " 36000.5 "
                                          << "36000.50" << right;
    QTest::newRow("tax limit wrong") << "item" << 0 << "36,000"
                                     << "36,000" << right;
    QTest::newRow("tax rate") << "item" << 1 << "3"
                              << "3" << right;
    QTest::newRow("quick deduction") << "item" << 2 << "2520"
                                     << "2520.00" << right;
    QTest::newRow("monthly deduction") << "employee" << 1 << "1000"
                                       << "1000.00" << right;
    QTest::newRow("amount below a fen") << "employee" << 1 << "0.001"
                                        << "0.001" << right;
    QTest::newRow("from as a key") << "employee" << 2 << "202601"
                                   << "2026年1月" << centre;
    QTest::newRow("through as shown") << "employee" << 3 << "2026年12月"
                                      << "2026年12月" << centre;
    QTest::newRow("month with its zero") << "employee" << 2 << "2026年01月"
                                         << "2026年1月" << centre;
    QTest::newRow("month 13") << "employee" << 2 << "2026年13月"
                              << "2026年13月" << centre;
    QTest::newRow("month without number") << "employee" << 2 << "2026年月"
                                          << "2026年月" << centre;
    QTest::newRow("month signed") << "employee" << 2 << "2026年+1月"
                                  << "2026年+1月" << centre;
    QTest::newRow("short year") << "employee" << 2 << "26年1月"
                                << "26年1月" << centre;
    QTest::newRow("month not kept") << "employee" << 3 << "190001"
                                    << "190001" << centre;
}

void ComputationDialogsTest::cellsShownAsEveryWindowShowsThem() {
    QFETCH(QString, dialog);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, alignment);
    onSettingsDialog(dialog, [&](ModuleForm &window) {
        auto *table = window.findChild<QTableWidget *>(dialog == "item" ? "t_sl" : "t_zxkc");
        const int empty = table->rowCount() - 1; // no tax table line, no deduction stored there
        QCOMPARE(table->item(empty, column)->textAlignment(), alignment);
        // The clerk's typing is committed to the cell's item, as the table's editor does.
        table->item(empty, column)->setText(typed);
        QCOMPARE(table->item(empty, column)->text(), shown);
        QCOMPARE(table->item(empty, column)->textAlignment(), alignment);
        QVERIFY(table->fontMetrics().horizontalAdvance(shown) + 6 <= table->columnWidth(column));
    });
}

// Captions, column headings and the month box as the other windows have them: full-width
// brackets and colons, every caption clear of the boxes beside it, and the month box wide
// enough for the longest month.
void ComputationDialogsTest::captionsInFullWidthPunctuation_data() {
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("caption"); // one the dialog must have
    QTest::newRow("item") << "item"
                          << "比例（%）：";
    QTest::newRow("employee") << "employee"
                              << "年初数据（年度）：";
}

void ComputationDialogsTest::captionsInFullWidthPunctuation() {
    QFETCH(QString, dialog);
    QFETCH(QString, caption);
    onSettingsDialog(dialog, [&](ModuleForm &window) {
        QStringList texts;
        for (const QLabel *label : window.findChildren<QLabel *>())
            texts << label->text();
        QVERIFY(texts.contains(caption));
        for (const QLabel *label : window.findChildren<QLabel *>()) {
            const QRect ink(
                label->pos(),
                QSize(label->fontMetrics().horizontalAdvance(label->text()), label->height()));
            for (const QWidget *control :
                 window.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
                if (!qobject_cast<const QLabel *>(control) && control->isVisibleTo(&window) &&
                    !control->testAttribute(Qt::WA_TransparentForMouseEvents))
                    QVERIFY2(!ink.intersects(control->geometry()),
                             qPrintable(label->text() + " under " + control->objectName()));
        }
        const QTableWidget *table = window.findChild<QTableWidget *>();
        for (int column = 0; column < table->columnCount(); ++column)
            texts << table->horizontalHeaderItem(column)->text();
        for (const QString &text : texts)
            for (const QChar halfWidth : {u'(', u')', u':', u','})
                QVERIFY2(!text.contains(halfWidth), qPrintable(text));
        if (auto *month = window.findChild<QLineEdit *>("e_qsny")) {
            QCOMPARE(month->text(), "2019年1月");
            const QString longest = "2019年12月";
            QVERIFY(month->fontMetrics().horizontalAdvance(longest) <
                    month->contentsRect().width() - 4);
        }
    });
}

// A month or year outside those the program keeps would be stored where no month reaches it.
void ComputationDialogsTest::datesOutsideTheKeptMonthsAreRefused_data() {
    QTest::addColumn<QString>("field"); // qsny, from, through (子女教育) or qcnd
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message"); // its start; empty: stored
    const QString taxMonth = "起始月份输入错误！";
    const QString deduction = "子女教育输入错误：";
    const QString year = "年初数据的年度输入错误！";
    QTest::newRow("tax table from 190001") << "qsny"
                                           << "190001" << taxMonth;
    QTest::newRow("tax table from 999912") << "qsny"
                                           << "999912" << taxMonth;
    QTest::newRow("tax table from 200412") << "qsny"
                                           << "200412" << taxMonth;
    QTest::newRow("tax table from 210012") << "qsny"
                                           << "210012"
                                           << "";
    QTest::newRow("deduction from 190001") << "from"
                                           << "190001" << deduction;
    QTest::newRow("deduction through 999912") << "through"
                                              << "999912" << deduction;
    QTest::newRow("deduction 200501 through 210012") << "through"
                                                     << "210012"
                                                     << "";
    QTest::newRow("opening year 0000") << "qcnd"
                                       << "0000" << year;
    QTest::newRow("opening year 1899") << "qcnd"
                                       << "1899" << year;
    QTest::newRow("opening year 2101") << "qcnd"
                                       << "2101" << year;
    QTest::newRow("opening year 2005") << "qcnd"
                                       << "2005"
                                       << "";
}

void ComputationDialogsTest::datesOutsideTheKeptMonthsAreRefused() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    Workspace workspace;
    QString stored;
    if (field == "qsny") {
        workspace.exec("insert into GZXMZD (mc,S_JC,S_FK) values ('个人所得税',0,'1')");
        runModule<Tfrm_xmsz>(std::function<void(Tfrm_xmsz &)>([&](Tfrm_xmsz &window) {
            onDialog<ItemComputationDialog>(window.RxDBGrid2, [&](ItemComputationDialog &dialog) {
                dialog.c_jsfs->setCurrentIndex(2);
                dialog.e_qsny->setText(text);
                dialog.b_ok->click();
            });
        }));
        stored = "select count(*) from GSSLB where qsny='" + text + "'";
    } else {
        workspace.exec("insert into BMZD (mc) values ('财务科')");
        workspace.exec("insert into YGZD (xm,bmh,zt) values ('林晓梅',1,'1')");
        runModule<Tfrm_ygsz>(std::function<void(Tfrm_ygsz &)>([&](Tfrm_ygsz &window) {
            onDialog<EmployeeTaxDialog>(window.RxDBGrid1, [&](EmployeeTaxDialog &dialog) {
                if (field == "qcnd") {
                    dialog.e_qcnd->setText(text);
                } else {
                    setCell(dialog.t_zxkc, 0, 1, "2000");
                    setCell(dialog.t_zxkc, 0, 2, field == "from" ? text : "200501");
                    setCell(dialog.t_zxkc, 0, 3, field == "through" ? text : "");
                }
                dialog.b_ok->click();
            });
        }));
        stored = "select count(*) from YGJS";
    }
    if (message.isEmpty()) {
        QCOMPARE(workspace.shownTexts(), QStringList());
        QVERIFY(fileRows(stored) != QStringList{"0"});
    } else {
        QCOMPARE(workspace.shownTexts().last().left(message.size()), message);
        QCOMPARE(fileRows(stored), QStringList{"0"});
    }
}

// Another clerk (a connection of the test's own) stores while the dialog is open; pressing 确定
// then is refused with the message the reference windows give, stores nothing, and shows what
// is stored now.
void ComputationDialogsTest::changeMadeMeanwhileIsNotOverwritten_data() {
    QTest::addColumn<QString>("dialog"); // item or employee
    QTest::addColumn<QString>("before"); // stored before the dialog opens
    QTest::addColumn<QString>("change"); // made by the other clerk meanwhile
    QTest::addColumn<QString>("check");  // the stored row afterwards
    QTest::addColumn<QString>("row");

    const QString method = "select jsfs,bl from GZXMJS";
    QTest::newRow("item's rate changed")
        << "item"
        << "insert into GZXMJS (xmbh,jsfs,bl) values (1,'1',80000)"
        << "update GZXMJS set bl=90000 where xmbh=1" << method << "1|90000";
    QTest::newRow("item given a method")
        << "item"
        << ""
        << "insert into GZXMJS (xmbh,jsfs,bl) values (1,'1',50000)" << method << "1|50000";
    QTest::newRow("tax table changed") << "tax"
                                       << ""
                                       << "update GSJCFY set je=60000000 where qsny='201901'"
                                       << "select count(*) as n,max(je) as je from GSJCFY"
                                       << "1|6000";
    const QString profile = "select sbjs,qcnd from YGJS";
    QTest::newRow("employee's base changed")
        << "employee"
        << "insert into YGJS (ygh,sbjs) values (1,10000000)"
        << "update YGJS set sbjs=20000000 where ygh=1" << profile << "2000|";
    QTest::newRow("employee's settings made")
        << "employee"
        << ""
        << "insert into YGJS (ygh,sbjs,qcnd) values (1,30000000,'2026')" << profile << "3000|2026";
    QTest::newRow("special deduction added")
        << "employee"
        << ""
        << "insert into YGZXKC (ygh,lb,je,qsny) values (1,'住房租金',15000000,'202601')"
        << "select count(*) from YGJS"
        << "0";
}

void ComputationDialogsTest::changeMadeMeanwhileIsNotOverwritten() {
    QFETCH(QString, dialog);
    QFETCH(QString, before);
    QFETCH(QString, change);
    QFETCH(QString, check);
    QFETCH(QString, row);
    const QString changedElsewhere =
        "这条记录已被其他操作员修改，本次修改未保存！请查看刷新后的内容。";
    Workspace workspace;
    if (dialog == "employee") {
        workspace.exec("insert into BMZD (mc) values ('财务科')");
        workspace.exec("insert into YGZD (xm,bmh,zt) values ('林晓梅',1,'1')");
        if (!before.isEmpty())
            workspace.exec(before);
        runModule<Tfrm_ygsz>(std::function<void(Tfrm_ygsz &)>([&](Tfrm_ygsz &window) {
            onDialog<EmployeeTaxDialog>(window.RxDBGrid1, [&](EmployeeTaxDialog &shown) {
                workspace.exec(change);
                shown.e_qtkc->setValue(*Currency::fromText(u"100"));
                shown.b_ok->click();
                QCOMPARE(workspace.shownTexts(), QStringList{changedElsewhere});
                QVERIFY(shown.isVisible());
                QCOMPARE(shown.e_qtkc->value(), Currency()); // shows what is stored now
            });
        }));
    } else {
        workspace.exec("insert into GZXMZD (mc,S_JC,S_FK) values ('个人所得税',0,'1')");
        if (!before.isEmpty())
            workspace.exec(before);
        runModule<Tfrm_xmsz>(std::function<void(Tfrm_xmsz &)>([&](Tfrm_xmsz &window) {
            onDialog<ItemComputationDialog>(window.RxDBGrid2, [&](ItemComputationDialog &shown) {
                workspace.exec(change);
                shown.c_jsfs->setCurrentIndex(dialog == "tax" ? 2 : 1);
                shown.e_bl->setText("7");
                shown.b_ok->click();
                QCOMPARE(workspace.shownTexts(), QStringList{changedElsewhere});
                QVERIFY(shown.isVisible());
                if (dialog == "tax")
                    QCOMPARE(shown.e_jcfy->value().toFixed2(), "6000.00");
            });
        }));
    }
    QCOMPARE(fileRows(check), QStringList{row});
}

// An earning may be the year-end bonus; one deduction, and only one, may take its tax.
void ComputationDialogsTest::yearEndBonusItems() {
    Workspace workspace;
    workspace.exec("insert into GZXMZD (mc,S_JC,S_FK) values ('年终奖',0,'0')");
    workspace.exec("insert into GZXMZD (mc,S_JC,S_FK) values ('年终奖个税',0,'1')");
    workspace.exec("insert into GZXMZD (mc,S_JC,S_FK) values ('其他扣款',0,'1')");
    const auto choose = [](QComboBox *methods, const QString &text) {
        methods->setCurrentIndex(methods->findText(text));
    };
    runModule<Tfrm_xmsz>(std::function<void(Tfrm_xmsz &)>([&](Tfrm_xmsz &window) {
        onDialog<ItemComputationDialog>(window.RxDBGrid1, [&](ItemComputationDialog &dialog) {
            choose(dialog.c_jsfs, "全年一次性奖金");
            dialog.b_ok->click();
            QVERIFY(!dialog.isVisible());
        });
        onDialog<ItemComputationDialog>(window.RxDBGrid2, [&](ItemComputationDialog &dialog) {
            choose(dialog.c_jsfs, "全年一次性奖金个税");
            dialog.b_ok->click();
            QVERIFY(!dialog.isVisible());
        });
        DM->AQ2.next();
        onDialog<ItemComputationDialog>(window.RxDBGrid2, [&](ItemComputationDialog &dialog) {
            QCOMPARE(dialog.l_mc->text(), "项目：其他扣款");
            choose(dialog.c_jsfs, "全年一次性奖金个税");
            dialog.b_ok->click();
            QCOMPARE(workspace.shownTexts(), QStringList{"已有记入全年一次性奖金个税的项目！"});
        });
        // Opened again, the bonus shows as chosen.
        onDialog<ItemComputationDialog>(window.RxDBGrid1, [&](ItemComputationDialog &dialog) {
            QCOMPARE(dialog.c_jsfs->currentText(), "全年一次性奖金");
        });
    }));
    QCOMPARE(fileRows("select xmbh,jsfs from GZXMJS order by xmbh"), (QStringList{"1|3", "2|4"}));
}

// December's tax of the published example (30,000.00 pay, 4,500.00 contributions) with the
// special deductions stored for employee 1.
QString decemberTaxOfPublishedExample() {
    const std::optional<EmployeeProfile> profile = readProfile(DM->ADC, 1);
    const std::vector<TaxBracket> brackets = readTaxLaw(DM->ADC).bracketsFor("202612");
    YearToDate year;
    Currency tax;
    for (int month = 1; month <= 12; ++month) {
        const MonthOfPay pay{*Currency::fromText(u"30000"), *Currency::fromText(u"4500"),
                             profile->specialDeductionsIn(monthKey(2026, month)), Currency(),
                             *Currency::fromText(u"5000")};
        tax = monthTax(year, pay, brackets);
        year.add(pay, tax);
    }
    return tax.toFixed2();
}

// The first child's 2,000.00 a month is stored from January. A second child is a line of its
// own from the month it starts; amounts above the law's, and a loan's interest beside a rent,
// are refused and leave what was stored.
void ComputationDialogsTest::deductionsKeptToTheLaw_data() {
    QTest::addColumn<QString>("firstLine"); // amount typed over the first child's; empty: kept
    QTest::addColumn<QString>("added");     // spare lines "kind amount from", ';' between
    QTest::addColumn<QString>("message");   // empty: stored
    QTest::addColumn<QString>("december");
    QTest::newRow("second child from July") << ""
                                            << "子女教育 - 202607"
                                            << ""
                                            << "3300.00";
    QTest::newRow("first child's line raised") << "4000"
                                               << ""
                                               << "子女教育每个子女每月最多2000.00元；"
                                                  "另一个子女请另起一行，从其开始的月份填起！"
                                               << "3700.00";
    QTest::newRow("elder care 5000") << ""
                                     << "赡养老人 5000 202601"
                                     << "赡养老人每月：独生子女3000.00元，"
                                        "非独生子女分摊每人最多1500.00元！"
                                     << "3700.00";
    QTest::newRow("loan and rent together") << ""
                                            << "住房贷款利息 - 202601;住房租金 - 202603"
                                            << "住房贷款利息和住房租金不能在同一月份扣除！"
                                            << "3700.00";
    QTest::newRow("amount without a kind") << ""
                                           << " 1000 202601"
                                           << "专项附加扣除第8行请选择类别！"
                                           << "3700.00";
}

void ComputationDialogsTest::deductionsKeptToTheLaw() {
    QFETCH(QString, firstLine);
    QFETCH(QString, added);
    QFETCH(QString, message);
    Workspace workspace;
    workspace.exec("insert into BMZD (mc) values ('财务科')");
    workspace.exec("insert into YGZD (xm,bmh,zt) values ('林晓梅',1,'1')");
    workspace.exec("insert into YGZXKC (ygh,lb,je,qsny) values (1,'子女教育',20000000,'202601')");
    runModule<Tfrm_ygsz>(std::function<void(Tfrm_ygsz &)>([&](Tfrm_ygsz &window) {
        onDialog<EmployeeTaxDialog>(window.RxDBGrid1, [&](EmployeeTaxDialog &dialog) {
            QTableWidget *table = dialog.t_zxkc;
            QCOMPARE(table->rowCount(), 7 + EmployeeTaxDialog::spareLines);
            if (!firstLine.isEmpty())
                setCell(table, 0, 1, firstLine);
            int row = 7;
            for (const QString &line : added.split(';', Qt::SkipEmptyParts)) {
                const QStringList parts = line.split(' ');
                qobject_cast<QComboBox *>(table->cellWidget(row, 0))->setCurrentText(parts[0]);
                if (parts[1] != "-")
                    setCell(table, row, 1, parts[1]);
                setCell(table, row, 2, parts[2]);
                ++row;
            }
            dialog.b_ok->click();
            QCOMPARE(workspace.shownTexts(),
                     message.isEmpty() ? QStringList() : QStringList{message});
            QCOMPARE(dialog.isVisible(), !message.isEmpty());
        });
    }));
    QTEST(decemberTaxOfPublishedExample(), "december");
    if (!message.isEmpty())
        QCOMPARE(fileRows("select lb,je,qsny,zzny from YGZXKC"),
                 QStringList{"子女教育|2000|202601|"});
}

// The law's choices for a year: shown for the year typed, stored with the rest, and refused
// when they contradict each other or the previous year's stored pay.
void ComputationDialogsTest::yearChoices_data() {
    QTest::addColumn<QString>("before");   // stored before the dialog opens
    QTest::addColumn<int>("lastYearsPay"); // each month of 2025 (none: 0)
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("checked"); // of c_nzjhb, c_qnjc, c_ljjc: "110"
    QTest::addColumn<QString>("message"); // empty: stored
    QTest::addColumn<QString>("stored");  // nd|nzjhb|qnjc|ljjc
    QTest::newRow("bonus with the pay") << "" << 0 << "2026"
                                        << "100"
                                        << ""
                                        << "2026|1|0|0";
    QTest::newRow("both deductions")
        << "" << 0 << "2026"
        << "011"
        << "2026年度不能同时选择“上年不超过6万元”和“年中首次取得工资”！"
        << "";
    QTest::newRow("last year within 60,000") << "" << 5000 << "2026"
                                             << "010"
                                             << ""
                                             << "2026|0|1|0";
    QTest::newRow("last year over 60,000")
        << "" << 5001 << "2026"
        << "010"
        << "2026年度不能选择“上年不超过6万元”：上年在本单位的工资收入超过60000元或不满12个月！"
        << "";
    QTest::newRow("another year kept")
        << "insert into YGNDSZ (ygh,nd,ljjc) values (1,'2025',1)" << 0 << "2026"
        << "100"
        << ""
        << "2025|0|0|1,2026|1|0|0";
    QTest::newRow("unchecked again")
        << "insert into YGNDSZ (ygh,nd,nzjhb) values (1,'2026',1)" << 0 << "2026"
        << "000"
        << ""
        << "";
}

void ComputationDialogsTest::yearChoices() {
    QFETCH(QString, before);
    QFETCH(int, lastYearsPay);
    QFETCH(QString, year);
    QFETCH(QString, checked);
    QFETCH(QString, message);
    Workspace workspace;
    workspace.exec("insert into BMZD (mc) values ('财务科')");
    workspace.exec("insert into YGZD (xm,bmh,zt) values ('林晓梅',1,'1')");
    workspace.exec("insert into GZXMZD (mc,S_JC,S_FK) values ('基本工资',1,'0')");
    if (!before.isEmpty())
        workspace.exec(before);
    for (int month = 1; lastYearsPay > 0 && month <= 12; ++month)
        workspace.exec(QStringLiteral("insert into GZB (ny,ygh,f1) values ('%1',1,%2)")
                           .arg(monthKey(2025, month))
                           .arg(qint64(lastYearsPay) * Currency::unitsPerYuan));
    runModule<Tfrm_ygsz>(std::function<void(Tfrm_ygsz &)>([&](Tfrm_ygsz &window) {
        onDialog<EmployeeTaxDialog>(window.RxDBGrid1, [&](EmployeeTaxDialog &dialog) {
            dialog.e_nd->setText(year);
            QCOMPARE(dialog.c_nzjhb->isChecked(), before.contains("nzjhb"));
            const std::array choices = {dialog.c_nzjhb, dialog.c_qnjc, dialog.c_ljjc};
            for (std::size_t i = 0; i < choices.size(); ++i)
                choices[i]->setChecked(checked.at(qsizetype(i)) == '1');
            dialog.b_ok->click();
            QCOMPARE(workspace.shownTexts(),
                     message.isEmpty() ? QStringList() : QStringList{message});
        });
    }));
    QTEST(fileRows("select nd,nzjhb,qnjc,ljjc from YGNDSZ order by nd").join(','), "stored");
    if (!message.isEmpty())
        QCOMPARE(fileRows("select count(*) from YGJS"), QStringList{"0"});
}

// Relief is typed for a month and shown again for it; a negative one stores nothing.
void ComputationDialogsTest::taxReliefByMonth_data() {
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("stored");
    QTest::newRow("relief") << "125.5"
                            << ""
                            << "202603|125.5";
    QTest::newRow("none") << "0"
                          << ""
                          << "";
    QTest::newRow("negative") << "-1"
                              << "2026年3月的减免税额不能为负数！"
                              << "202602|50";
}

void ComputationDialogsTest::taxReliefByMonth() {
    QFETCH(QString, amount);
    QFETCH(QString, message);
    Workspace workspace;
    workspace.exec("insert into BMZD (mc) values ('财务科')");
    workspace.exec("insert into YGZD (xm,bmh,zt) values ('林晓梅',1,'1')");
    workspace.exec("insert into YGJMSE (ygh,ny,je) values (1,'202602',500000)");
    runModule<Tfrm_ygsz>(std::function<void(Tfrm_ygsz &)>([&](Tfrm_ygsz &window) {
        onDialog<EmployeeTaxDialog>(window.RxDBGrid1, [&](EmployeeTaxDialog &dialog) {
            QVERIFY(!dialog.e_jmse->isEnabled());
            dialog.e_jmny->setText("2026年2月");
            QCOMPARE(dialog.e_jmse->value().toFixed2(), "50.00");
            dialog.e_jmse->setValue(Currency());
            dialog.e_jmny->setText("202603");
            dialog.e_jmse->setValue(*Currency::fromText(amount));
            dialog.e_jmny->setText("202602");
            QCOMPARE(dialog.e_jmse->value(), Currency());
            dialog.b_ok->click();
            QCOMPARE(workspace.shownTexts(),
                     message.isEmpty() ? QStringList() : QStringList{message});
        });
    }));
    QTEST(fileRows("select ny,je from YGJMSE order by ny").join(','), "stored");
}

QTEST_MAIN(ComputationDialogsTest)
#include "test_computationdialogs.moc"
