#include "mainwindow.h"

#include "bankexportdialog.h"
#include "bevel.h"
#include "bmsz.h"
#include "compaction.h"
#include "data.h"
#include "flatbutton.h"
#include "fonts.h"
#include "guard.h"
#include "gzlr.h"
#include "gzt.h"
#include "gztj.h"
#include "labels.h"
#include "moduleform.h"
#include "placement.h"
#include "progress.h"
#include "sjcx.h"
#include "wiring.h"
#include "xmsz.h"
#include "ygsz.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPixmap>

namespace {

struct Module {
    const char *button;
    int top;
    const char *icon;
    int iconSize;
    const char *label;
    const char *caption;
    int labelTop;
    ModuleFactory create;
};

// Top to bottom.
const QList<Module> &modules() {
    static const QList<Module> list = {
        {"SpeedButton8", 10, "entry", 32, "Label1", "工资录入", 53,
         [] { return std::make_unique<Tfrm_gzlr>(); }},
        {"SpeedButton1", 76, "query", 32, "Label5", "数据查询", 120,
         [] { return std::make_unique<Tfrm_sjcx>(); }},
        {"SpeedButton5", 143, "payslip", 32, "Label2", "工 资 条", 187,
         [] { return std::make_unique<Tfrm_gzt>(); }},
        {"SpeedButton4", 210, "statistics", 24, "Label3", "工资统计", 254,
         [] { return std::make_unique<Tfrm_gztj>(); }},
        {"SpeedButton2", 276, "departments", 24, "Label7", "部门设置", 321,
         [] { return std::make_unique<Tfrm_bmsz>(); }},
        {"SpeedButton7", 343, "employees", 24, "Label6", "人员设置", 388,
         [] { return std::make_unique<Tfrm_ygsz>(); }},
        {"SpeedButton6", 410, "items", 24, "Label4", "项目设置", 455,
         [] { return std::make_unique<Tfrm_xmsz>(); }},
    };
    return list;
}

} // namespace

Tfrm_main::Tfrm_main(QWidget *parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frm_main"));
    setWindowTitle(QStringLiteral("主界面"));
    setFixedSize(672, 485);
    setFont(pixelFont(FontFamily::song, 12));

    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(0, 0, 672, 485);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image->setPixmap(QPixmap(QStringLiteral(":/images/background.jpg")));

    new Bevel(Bevel::Shape::Frame, QRect(4, -5, 67, 574), this);
    new Bevel(Bevel::Shape::TopLine, QRect(70, 22, 663, 2), this);
    Label8 = makeTitle(QStringLiteral("Marovel工资管理信息系统"), QPoint(241, 3), this);

    SpeedButton3 = makeCloseButton(QRect(648, 1, 20, 20), this);
    wire(SpeedButton3, &FlatButton::clicked, this, &Tfrm_main::SpeedButton3Click);

    for (const Module &module : modules()) {
        auto *button = new FlatButton(
            QStringLiteral(":/icons/%1.png").arg(QLatin1String(module.icon)),
            QSize(module.iconSize, module.iconSize), QRect(18, module.top, 40, 39), this);
        button->setObjectName(QLatin1String(module.button));
        connect(button, &FlatButton::clicked, this,
                [&module] { guarded([&module] { openModule(module.create); }); });
        moduleButtons << button;

        QLabel *caption = makeLabel(QLatin1String(module.label), QString::fromUtf8(module.caption),
                                    QRect(14, module.labelTop, 48, 12), font(), this);
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        caption->installEventFilter(this);
        captionLabels << caption;
    }
    setContextMenuPolicy(Qt::ActionsContextMenu);
    bankFileAction = new QAction(QStringLiteral("银行代发文件…"), this);
    addAction(bankFileAction);
    connect(bankFileAction, &QAction::triggered, this, [] {
        guarded([] { openModule([] { return std::make_unique<BankExportDialog>(); }); });
    });

    centreOnScreen(this);
    FormCreate();
}

// Runs before any connection to the file is open. Whatever stands in the way of compacting,
// the program starts as usual.
void Tfrm_main::FormCreate() {
    CompactDatabase(QStringLiteral("gzdb.mdb"), QString());
}

bool Tfrm_main::CompactDatabase(const QString &fileName, const QString &password) {
    // A file of a few hundred megabytes takes seconds; a small one is done before anything
    // could be seen.
    Progress busy(QStringLiteral("正在备份并整理数据库…"), std::chrono::milliseconds(400));
    return compactDatabase(fileName, password, [&busy] { busy.pulse(); });
}

bool Tfrm_main::eventFilter(QObject *watched, QEvent *event) {
    auto *caption = qobject_cast<QLabel *>(watched);
    if (caption && captionLabels.contains(caption)) {
        if (event->type() == QEvent::Enter)
            l_tcMouseEnter(caption);
        else if (event->type() == QEvent::Leave)
            l_tcMouseLeave(caption);
    }
    return QWidget::eventFilter(watched, event);
}

void Tfrm_main::l_tcMouseEnter(QLabel *caption) {
    setTextColour(caption, Qt::red);
}

void Tfrm_main::l_tcMouseLeave(QLabel *caption) {
    setTextColour(caption, Qt::black);
}

void Tfrm_main::SpeedButton3Click() {
    QApplication::quit();
}
