// The program at scale against the bare-SQLite floor, side by side in one process. Run by
// hand, never by CTest:
//   cmake --build build --target bench_scale && build/bench/bench_scale [--quick]
//   build/bench/bench_scale --size EMPLOYEES,ITEMS,MONTHS --compaction EMPLOYEES,ITEMS,MONTHS
//                           --fill ROWS --runs N
//   build/bench/bench_scale --only SCENARIO   (memory, fill, query, statistics, payslips,
//                                              previews, entry, computed, firstuse,
//                                              compaction, import)
//   scripts/with-postgres build/bench/bench_scale --server [CONNECTION]   (on a PostgreSQL
//                                              server, against libpq; see README)
// BENCH_SHOW_SQL=1 in the environment lists the statements each floor replays.
// It makes a synthetic database with the set-up tool's code, then times each scenario
// through the program's own paths (the data module, the windows' handlers driven offscreen,
// the report engine, the start-up compaction) and through the floor, alternating, and
// prints the medians as a table; progress goes to stderr.
#include "amountcolumnlist.h"
#include "amountimport.h"
#include "compaction.h"
#include "comparison.h"
#include "data.h"
#include "databasesetup.h"
#include "dbgrid.h"
#include "entrymonth.h"
#include "flatbutton.h"
#include "gzlr.h"
#include "gztj.h"
#include "heapcount.h"
#include "heapreuse.h"
#include "layout.h"
#include "modulerun.h"
#include "monthkey.h"
#include "pageview.h"
#include "postgresengine.h"
#include "postgresfloor.h"
#include "previewdialog.h"
#include "reportexport.h"
#include "reportfonts.h"
#include "reportlayouts.h"
#include "reportpainter.h"
#include "salarycolumns.h"
#include "scalebenchmark.h"
#include "serverbenchdatabase.h"
#include "sjcx.h"
#include "spinedit.h"
#include "sqlitefloor.h"
#include "sqlitehandle.h"
#include "sqllines.h"
#include "statementtrace.h"
#include "syntheticdata.h"
#include "transaction.h"
#include "worksheet.h"
#include "workspace.h"
#include "xlsxfixture.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QPdfWriter>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <sqlite3.h>
#include <unistd.h>
#include <xlsxwriter.h>

namespace {

Options parseOptions(QStringList arguments) {
    Options options;
    arguments.removeFirst();
    while (!arguments.isEmpty()) {
        const QString option = arguments.takeFirst();
        if (option == "--quick") {
            options.size = options.compactionSize = {500, 10, 6};
            options.fillRows = 20000;
            options.runs = 3;
            options.smoke = true;
            continue;
        }
        if (option == "--server") {
            options.server = !arguments.isEmpty() && !arguments.first().startsWith("--")
                                 ? arguments.takeFirst()
                                 : qEnvironmentVariable("GZ_TEST_SERVER");
            if (options.server.isEmpty())
                throw std::runtime_error("--server needs a connection string or GZ_TEST_SERVER "
                                         "(scripts/with-postgres sets it)");
            continue;
        }
        if (arguments.isEmpty())
            throw std::runtime_error(
                "usage: bench_scale [--quick] [--size E,I,M] [--compaction E,I,M] "
                "[--fill ROWS] [--runs N] [--only SCENARIO] [--server [CONNECTION]]");
        const QString value = arguments.takeFirst();
        if (option == "--size")
            options.size = DatabaseSetup::parseSyntheticSize(value);
        else if (option == "--compaction")
            options.compactionSize = DatabaseSetup::parseSyntheticSize(value);
        else if (option == "--fill")
            options.fillRows = value.toInt();
        else if (option == "--runs")
            options.runs = std::max(1, value.toInt());
        else if (option == "--only")
            options.only = value;
        else
            throw std::runtime_error("unknown option " + option.toStdString());
    }
    return options;
}

// What the process holds in memory, as the system counts it.
double residentMegabytes() {
    QFile statm("/proc/self/statm");
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / 1e6 : 0;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// "$1,$2,...": the markers of a statement for the server.
QString placeholders(int count) {
    QStringList markers;
    for (int marker = 1; marker <= count; ++marker)
        markers << QStringLiteral("$%1").arg(marker);
    return markers.join(',');
}

} // namespace

// The fill's floor on the server: the same insert prepared once, run row by row with the
// values as text, as the program sends them, in one transaction.
TimedRun ScaleBenchmark::serverFillFloor(const QString &sql, int columns,
                                         const std::function<qint64(int, int)> &amount) {
    return [this, sql, columns, amount] {
        m_server->run("delete from temp_gzb");
        return millisecondsOf([&] {
            m_server->run("BEGIN");
            const QByteArray insert = m_server->prepared(sql);
            std::vector<QByteArray> texts(std::size_t(4 + columns));
            std::vector<const char *> values(texts.size());
            for (int row = 0; row < m_options.fillRows; ++row) {
                texts[0] = monthBack(0).toUtf8();
                texts[1] = QByteArray::number(row);
                texts[2] = QStringLiteral("职工%1").arg(row).toUtf8();
                texts[3] = QStringLiteral("部门%1").arg(row % 20).toUtf8();
                for (int c = 0; c < columns; ++c)
                    texts[std::size_t(4 + c)] = QByteArray::number(amount(row, c));
                for (std::size_t v = 0; v < texts.size(); ++v)
                    values[v] = texts[v].constData();
                m_server->execute(insert, values);
            }
            m_server->run("COMMIT");
        });
    };
}

// Rows written one by one through the shared insert query in one transaction, as a window
// stores a worksheet; the floor binds the same values by position.
void ScaleBenchmark::fill() {
    const QStringList columns = amountColumns();
    const QString sql = "insert into temp_gzb (ny,ygh,xm,bmmc," + columns.join(',') +
                        ") values (:ny,:ygh,:xm,:bmmc,:" + columns.join(",:") + ")";
    const int rows = m_options.fillRows;
    const auto amount = [](int row, int column) { return qint64(row % 9973 + column) * 100; };
    const auto program = [&] {
        runStraight("delete from temp_gzb");
        return millisecondsOf([&] {
            Transaction transaction(DM->ADC);
            Query &insert = setSql(DM->AQUP, {sql});
            for (int row = 0; row < rows; ++row) {
                insert.param("ny").setText(monthBack(0));
                insert.param("ygh").setInteger(row);
                insert.param("xm").setText(QStringLiteral("职工%1").arg(row));
                insert.param("bmmc").setText(QStringLiteral("部门%1").arg(row % 20));
                for (int c = 0; c < columns.size(); ++c)
                    insert.param(columns.at(c)).setCurrency(Currency::fromUnits(amount(row, c)));
                insert.execSql();
            }
            transaction.commit();
        });
    };
    const auto floor = [&] {
        m_floor->run("delete from temp_gzb");
        return millisecondsOf([&] {
            m_floor->begin();
            sqlite3_stmt *insert = m_floor->statement("insert into temp_gzb (ny,ygh,xm,bmmc," +
                                                      columns.join(',') + ") values (?,?,?,?" +
                                                      QString(",?").repeated(columns.size()) + ")");
            for (int row = 0; row < rows; ++row) {
                m_floor->bind(insert, {monthBack(0), qint64(row), QStringLiteral("职工%1").arg(row),
                                       QStringLiteral("部门%1").arg(row % 20)});
                for (int c = 0; c < columns.size(); ++c)
                    sqlite3_bind_int64(insert, c + 5, amount(row, c));
                m_floor->run(insert);
            }
            m_floor->commit();
        });
    };
    const QString serverSql = "insert into temp_gzb (ny,ygh,xm,bmmc," + columns.join(',') +
                              ") values (" + placeholders(4 + columns.size()) + ")";
    add("fill rows through the data module", count(rows) + " rows", "≤ 1.5×",
        m_server ? serverFillFloor(serverSql, int(columns.size()), amount) : TimedRun(floor),
        program);
    runStraight("delete from temp_gzb");
    // The server never vacuums a session's temporary table by itself: the rows the runs
    // deleted would still be read past by every scenario after this one.
    if (m_server)
        m_server->run("vacuum temp_gzb");
}

// Every stored row with the row totals, as the query window reads them: what the open result
// holds, and how many blocks opening it asks for.
void ScaleBenchmark::memory() {
    Query &query = setSql(DM->AQ1, QStringList{"select *,"} + SalaryColumns::rowTotalLines() +
                                       QStringList{"from GZB"});
    query.open(); // the page cache and the statement are warm, as in a running program
    query.close();
    const std::size_t before = HeapCount::bytesInUse();
    const std::uint64_t allocationsBefore = HeapCount::allocations();
    query.open();
    const std::uint64_t allocations = HeapCount::allocations() - allocationsBefore;
    const std::size_t held = HeapCount::bytesInUse() - before;
    const int rows = query.recordCount();
    std::printf("Open result of %s rows × %d columns: %.0f bytes held per row (target ≤ 550)",
                qPrintable(count(rows)), query.columnCount(), double(held) / rows);
    if (HeapCount::countsAllocations())
        std::printf(", %.2f allocations per row while opening", double(allocations) / rows);
    std::printf("\n\n");
    query.close();
}

void ScaleBenchmark::queryWindow() {
    runModule<Tfrm_sjcx>(std::function<void(Tfrm_sjcx &)>([&](Tfrm_sjcx &window) {
        const auto range = [&](int months, const QString &rows) {
            setMonth(window.e_n, window.e_y, monthBack(months));
            setMonth(window.e_n1, window.e_y1, monthBack(1));
            const auto program = [&] {
                DM->AQ1.close();
                return millisecondsOf([&] {
                    window.SpeedButton1->click();
                    window.RxDBGrid1->viewport()->repaint();
                    window.RxDBGrid2->viewport()->repaint();
                });
            };
            add(QStringLiteral("query window: %1 month(s), shown in the grids").arg(months), rows,
                "≤ 1.2×", replay(program), program);
        };
        range(1, employees() + " rows");
        const int months = std::min(12, m_options.size.months);
        range(months, count(qint64(months) * m_options.size.employees) + " rows");
    }));
}

void ScaleBenchmark::statistics() {
    runModule<Tfrm_gztj>(std::function<void(Tfrm_gztj &)>([&](Tfrm_gztj &window) {
        setMonth(window.e_n, window.e_y, monthBack(m_options.size.months));
        setMonth(window.e_n1, window.e_y1, monthBack(1));
        const QString size = employees() + " × " + count(m_options.size.months) + " months";
        for (QRadioButton *kind : {window.r_1, window.r_2}) {
            kind->setChecked(true);
            const auto program = [&] {
                DM->AQ1.close();
                return millisecondsOf([&] {
                    window.SpeedButton1->click();
                    (kind == window.r_1 ? window.RxDBGrid2 : window.RxDBGrid1)
                        ->viewport()
                        ->repaint();
                });
            };
            add(kind == window.r_1 ? "statistics per month" : "statistics per employee", size,
                "≤ 1.1×", replay(program), program);
        }
    }));
}

// One month's slips laid out by the report engine and written as PDF; the floor reads the
// same rows and draws the same texts and boxes straight onto a PDF writer.
void ScaleBenchmark::paySlips() {
    const ReportDefinition report = paySlipReport(buildAmountColumns());
    const QString programFile = QDir::current().filePath("slips.pdf");
    const QString floorFile = QDir::current().filePath("slips-floor.pdf");
    std::optional<PageModel> pages;
    const auto program = [&] {
        return millisecondsOf([&] {
            Query &query =
                setSql(DM->AQ1, QStringList{"select *,"} + SalaryColumns::rowTotalLines() +
                                    QStringList{"from GZB where ny=:ny order by bmmc"});
            query.param("ny").setText(monthBack(1));
            query.open();
            pages.emplace(layOut(report, query));
            writePdf(*pages, programFile);
        });
    };
    const std::function<void()> rowsRead = statementsOf(program);
    const auto floor = [&] {
        return millisecondsOf([&] {
            rowsRead();
            QPdfWriter writer(floorFile);
            writer.setPageLayout(reportPageLayout());
            QPainter painter(&writer);
            const double scale = writer.logicalDpiX() / 96.0;
            painter.setPen(QPen(Qt::black, scale));
            const auto scaled = [scale](const QRect &box) {
                return QRectF(box.x() * scale, box.y() * scale, box.width() * scale,
                              box.height() * scale);
            };
            std::optional<TextStyle> style;
            for (qsizetype p = 0; p < pages->size(); ++p) {
                if (p > 0)
                    writer.newPage();
                const Page page = pages->at(p);
                for (const QRect &box : page.rectangles)
                    painter.drawRect(scaled(box));
                for (const PageText &text : page.texts) {
                    if (style != text.style) {
                        style = text.style;
                        painter.setFont(reportFont(text.style));
                    }
                    painter.drawText(scaled(text.box),
                                     int(text.alignment | Qt::AlignTop | Qt::TextSingleLine),
                                     text.text);
                }
            }
        });
    };
    add("pay slips laid out and written to PDF", employees() + " slips", "≤ 1.5×", floor, program);
}

// The preview of the longest reports as the operator opens it: from the laying out to the
// first page on the screen, then every page brought into sight in turn, and what the preview
// holds while open and after it is closed. No floor: the figures stand against the targets.
void ScaleBenchmark::previews() {
    const auto preview = [&](const QString &name, const ReportDefinition &report, int months) {
        Query &query = setSql(DM->AQ1, QStringList{"select *,"} + SalaryColumns::rowTotalLines() +
                                           QStringList{"from GZB where ny>=:a and ny<=:b "
                                                       "order by bmmc"});
        query.param("a").setText(monthBack(months));
        query.param("b").setText(monthBack(1));
        query.open();
        std::vector<double> firstPage;
        double everyPage = 0, heldOpen = 0, residentOpen = 0, heldAfter = 0, residentAfter = 0;
        int pageCount = 0;
        // Every round opens the preview; the last also brings every page into sight, once,
        // for it takes minutes at full size.
        for (int run = 0; run <= m_options.runs; ++run) {
            const std::size_t heapBefore = HeapCount::bytesInUse();
            QElapsedTimer clock;
            clock.start();
            {
                const PageModel pages = layOut(report, query);
                PreviewDialog dialog({report, query, pages, name});
                dialog.show();
                PageView &view = dialog.pages();
                view.viewport()->grab(); // painted now, exposed or not
                if (run > 0)             // the first round warms the caches
                    firstPage.push_back(double(clock.nsecsElapsed()) / 1e6);
                pageCount = view.pageCount();
                if (run == m_options.runs) {
                    clock.restart();
                    for (int page = 1; page <= pageCount; ++page) {
                        view.setCurrentPage(page);
                        view.viewport()->grab();
                    }
                    everyPage = double(clock.nsecsElapsed()) / 1e6;
                    heldOpen = double(HeapCount::bytesInUse() - heapBefore) / 1e6;
                    residentOpen = residentMegabytes();
                }
            }
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            heldAfter = (double(HeapCount::bytesInUse()) - double(heapBefore)) / 1e6;
            residentAfter = residentMegabytes();
        }
        std::printf("Preview of %s (%s rows, %s pages): first page on screen after %.0f ms "
                    "(target ≤ 1000 ms), every page brought into sight in turn %.0f ms; after "
                    "that the preview holds %.1f MB (the process %.0f MB, target < 300 MB), "
                    "%.1f MB after closing (the process %.0f MB)\n",
                    qPrintable(name), qPrintable(count(query.recordCount())),
                    qPrintable(count(pageCount)), median(firstPage), everyPage, heldOpen,
                    residentOpen, heldAfter, residentAfter);
        query.close();
    };
    const QList<AmountColumn> columns = buildAmountColumns();
    preview("the pay slips of one month", paySlipReport(columns), 1);
    preview(
        QStringLiteral("the query report of %1 months").arg(std::min(12, m_options.size.months)),
        queryReport(columns), std::min(12, m_options.size.months));
    std::printf("\n");
}

// The window's cancel button after a run that left it in entry; the worksheet emptied either
// way, as the operator finds it when preparing a month. A floor's replay fills it without
// putting the window in entry: left filled, it would make the next program run empty it.
void ScaleBenchmark::cancelEntry(Tfrm_gzlr &window) {
    if (window.b_c->isEnabled())
        window.b_c->click();
    runStraight("delete from temp_gzb");
}

namespace {

// Where the operator's key lands: on the box with the focus, once the window is active.
void pressF1(Tfrm_gzlr &window) {
    QWidget *focused = QApplication::focusWidget();
    QTest::keyClick(focused ? focused : &window, Qt::Key_F1);
}

} // namespace

// The entry window on a month not yet entered and on a stored month.
void ScaleBenchmark::entryWindow() {
    runModule<Tfrm_gzlr>(std::function<void(Tfrm_gzlr &)>([&](Tfrm_gzlr &window) {
        const QString rows = employees() + " rows";
        const auto nothing = [] {};
        const auto prepare = [&] { window.b_o->click(); };
        const auto cancel = [&] { cancelEntry(window); };

        setMonth(window.e_n, window.e_y, monthBack(0));
        addHandler("prepare a month, status '2' (carried)", rows, "≤ 1.3×", nothing, prepare,
                   cancel);

        setMonth(window.e_n, window.e_y, monthBack(1));
        addHandler(
            "save a month, status '1' (delete + copy)", rows, "≤ 1.1×", prepare,
            [&] { window.b_s->click(); }, cancel);

        prepare();
        const int row = m_options.size.employees / 2;
        addHandler(
            "F1: store one employee, re-read the worksheet", rows, "≤ 1.2×",
            [&] { DM->AQ2.moveTo(row); }, [&] { pressF1(window); }, nothing);
        cancel();
    }));
}

// With no month stored, every active employee gets a new worksheet row.
void ScaleBenchmark::firstUse() {
    runStraight("delete from GZB");
    runModule<Tfrm_gzlr>(std::function<void(Tfrm_gzlr &)>([&](Tfrm_gzlr &window) {
        addHandler(
            "prepare a month, status '0' (first use)", employees() + " rows", "≤ 1.3×", [] {},
            [&] { window.b_o->click(); }, [&] { cancelEntry(window); });
    }));
}

// The start-up compaction of a synthetic file of its own, against what a checked compaction
// must do at least: VACUUM INTO a copy, then PRAGMA quick_check of that copy. VACUUM INTO
// alone is kept beside it for reference.
void ScaleBenchmark::compaction(const QString &copy) {
    const QString into = copy + ".vacuumed";
    const auto run = [](const QString &path, const QByteArray &sql) {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        const int result = sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
        const std::string error = sqlite3_errmsg(db);
        sqlite3_close(db);
        if (result != SQLITE_OK)
            throw std::runtime_error(error);
    };
    const auto vacuumInto = [&](bool checked) {
        return [&, checked] {
            QFile::remove(into);
            return millisecondsOf([&] {
                run(copy, "VACUUM INTO '" + into.toUtf8() + "'");
                if (checked)
                    run(into, "PRAGMA quick_check");
            });
        };
    };
    const auto program = [&] {
        return millisecondsOf([&] {
            if (!compactDatabase(copy, QString()))
                throw std::runtime_error("the compaction did not replace the file");
        });
    };
    const QString size = QStringLiteral("%1 MB").arg(QFileInfo(copy).size() / 1000000);
    add("start-up compaction", size, "≤ 1.1×", vacuumInto(true), program);
    add("start-up compaction against VACUUM INTO alone", size, "(reference)", vacuumInto(false),
        program);
    QFile::remove(into);
}

// A month's amounts from a sheet of 10,000 rows, read and matched to the month's employees,
// against reading the sheet alone. The file is written as a spreadsheet program writes one.
void ScaleBenchmark::importPreview() {
    constexpr int rows = 10000;
    EntryMonth month;
    month.readRules();
    month.activate();
    if (!month.claim(monthBack(0)))
        throw std::runtime_error("the month is claimed elsewhere");
    month.prepare([] {});
    const QList<AmountImport::Item> items =
        AmountImport::enteredItems(month.rules().computedColumns());
    const QString path = QDir::current().filePath("import.xlsx");
    {
        XlsxFixture book(path);
        lxw_worksheet *sheet = book.sheet("工资");
        QStringList header = {AmountImport::numberHeader, AmountImport::nameHeader};
        for (const AmountImport::Item &item : items)
            header << item.name;
        book.writeRows(sheet, {header});
        for (int row = 1; row <= rows; ++row) {
            worksheet_write_number(sheet, row, 0, row, nullptr);
            worksheet_write_string(sheet, row, 1, "职工", nullptr);
            for (int column = 0; column < items.size(); ++column)
                worksheet_write_number(sheet, row, column + 2, (row * 7 + column) % 5000 + 0.25,
                                       nullptr);
        }
        if (!book.close())
            throw std::runtime_error("the sheet could not be written");
    }
    QStringList known = {AmountImport::numberHeader, AmountImport::nameHeader};
    for (const AmountImport::Item &item : items)
        known << item.name;
    const auto floor = [&] {
        return millisecondsOf([&] {
            const std::unique_ptr<Workbook> opened = openWorkbook(path);
            const Workbook &book = *opened;
            book.readSheet(0, [](const SheetRow &) {});
        });
    };
    const auto program = [&] {
        return millisecondsOf([&] {
            const std::unique_ptr<Workbook> opened = openWorkbook(path);
            const Workbook &book = *opened;
            const ImportSheet sheet = readImportSheet(book, 0, known, [] {});
            const AmountImport::Preview preview =
                AmountImport::preview(sheet, items, AmountImport::readMonth(items));
            if (preview.employees.isEmpty())
                throw std::runtime_error("the preview found no change");
        });
    };
    add("import preview: a month's amounts", QStringLiteral("%1 rows").arg(count(rows)), "≤ 2 s",
        floor, program);
    month.close();
    Worksheet::empty();
}

namespace {

// The chosen scenarios in their order. On a server, what only a file has is left out, and
// the previews (no floor, minutes at full size) run only when asked for by name.
void runScenarios(ScaleBenchmark &bench, const Options &options, bool onServer,
                  const QString &compactionFile) {
    if (options.wants("memory"))
        bench.memory();
    if (options.wants("fill"))
        bench.fill();
    if (options.wants("query"))
        bench.queryWindow();
    if (options.wants("statistics"))
        bench.statistics();
    if (options.wants("payslips"))
        bench.paySlips();
    if (options.wants("previews") && (!onServer || !options.only.isEmpty()))
        bench.previews();
    if (options.wants("entry"))
        bench.entryWindow();
    if (options.wants("computed"))
        bench.computedMonths();
    if (options.wants("firstuse"))
        bench.firstUse();
    if (options.wants("compaction") && !onServer)
        bench.compaction(compactionFile);
    if (options.wants("import"))
        bench.importPreview();
}

pg_conn *serverHandle() {
    return dynamic_cast<PostgresEngine &>(DM->ADC.engine()).handle();
}

} // namespace

int main(int argc, char *argv[]) {
    keepFreedMemoryForReuse(); // as the program does
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    try {
        const Options options = parseOptions(app.arguments());
        std::optional<ServerBenchDatabase> server;
        if (!options.server.isEmpty()) {
            server.emplace(options.server);
            std::fprintf(stderr,
                         "making a synthetic server database of %d employees, %d items, %d "
                         "months\n",
                         options.size.employees, options.size.items, options.size.months);
            const double ms = millisecondsOf([&] {
                DatabaseSetup::createSyntheticServerDatabase(server->address(), options.size,
                                                             today);
            });
            std::fprintf(stderr, "  made in %.1f s\n", ms / 1000);
            // The data module connects to what the environment names, as a script's would.
            qputenv("GZGL_DATABASE", server->address().location().toUtf8());
        }
        Workspace workspace(Workspace::Database::None, today);
        QString compactionFile;
        if (!server) {
            std::fprintf(stderr,
                         "making a synthetic database of %d employees, %d items, %d months\n",
                         options.size.employees, options.size.items, options.size.months);
            DatabaseSetup::createSyntheticDatabase(workspace.path(), options.size, today);
            if (options.wants("compaction")) {
                QDir(workspace.path()).mkdir("compaction");
                compactionFile = DatabaseSetup::createSyntheticDatabase(
                    QDir(workspace.path()).filePath("compaction"), options.compactionSize, today);
            }
        }

        QList<Comparison> results;
        if (server) {
            PostgresFloor floor(serverHandle());
            ScaleBenchmark bench(options, floor);
            runScenarios(bench, options, true, compactionFile);
            results = bench.results;
        } else {
            SqliteFloor floor(connectionHandle());
            ScaleBenchmark bench(options, floor);
            runScenarios(bench, options, false, compactionFile);
            results = bench.results;
        }
        if (server)
            std::printf("On the PostgreSQL server, against libpq (the start-up compaction is a "
                        "file's only):\n\n");
        printTable(results, options.smoke);
        return workspace.shownMessages().isEmpty() ? 0 : 1;
    } catch (const std::exception &failure) {
        std::fprintf(stderr, "bench_scale: %s\n", failure.what());
        return 1;
    }
}
