// Where the focus is when a report window opens: on the first control of its tab order, so
// that the operator's first key goes where the window's order says.
#include "fonts.h"
#include "gzt.h"
#include "gztj.h"
#include "modulerun.h"
#include "sjcx.h"
#include "workspace.h"

#include <QApplication>
#include <QTest>

namespace {

template <typename Window> QString focusedOnOpening() {
    QString focused;
    runModule<Window>([&](Window &window) {
        if (QTest::qWaitForWindowActive(&window) && QApplication::focusWidget())
            focused = QApplication::focusWidget()->objectName();
    });
    return focused;
}

} // namespace

class FirstFocusTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutes(); }
    void firstControlOfTheTabOrder_data();
    void firstControlOfTheTabOrder();
};

struct Opening {
    const char *window;
    QString (*focused)();
    const char *first;
};
const Opening openings[] = {{"pay slips", focusedOnOpening<Tfrm_gzt>, "e_n"},
                            {"query", focusedOnOpening<Tfrm_sjcx>, "RxDBGrid1"},
                            {"statistics", focusedOnOpening<Tfrm_gztj>, "RxDBGrid1"}};

void FirstFocusTest::firstControlOfTheTabOrder_data() {
    QTest::addColumn<int>("opening");
    for (int i = 0; i < int(std::size(openings)); ++i)
        QTest::newRow(openings[i].window) << i;
}

void FirstFocusTest::firstControlOfTheTabOrder() {
    QFETCH(int, opening);
    Workspace workspace;
    QCOMPARE(openings[opening].focused(), QString::fromLatin1(openings[opening].first));
}

QTEST_MAIN(FirstFocusTest)
#include "test_firstfocus.moc"
