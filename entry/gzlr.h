#pragma once

#include "computedentry.h"
#include "entrymonth.h"
#include "moduleform.h"

#include <QList>
#include <QString>

class CurrencyEdit;
class DBGrid;
class FlatButton;
class Panel;
class Progress;
class QAction;
class QLabel;
class SpinEdit;

// Salary entry: the operator chooses a month, learns whether it is entered already, prepares
// its worksheet (Temp_GZB), enters each employee's amounts, and saves the worksheet as the
// month, cancels it, or deletes a stored month. The only writer of GZB and Temp_GZB. A month
// being entered or deleted is claimed, so that two copies of the program never work on one
// month at a time; the claim ends with the save, the cancel, the deletion or the window.
class Tfrm_gzlr : public ModuleForm {
public:
    Tfrm_gzlr();

    void FormCreate() override;
    void FormActivate() override;
    void FormClose() override;

    Panel *Panel2 = nullptr;
    QLabel *Label1 = nullptr;
    SpinEdit *e_n = nullptr;
    SpinEdit *e_y = nullptr;
    QLabel *l_m = nullptr;
    FlatButton *b_s = nullptr;
    FlatButton *b_c = nullptr;
    FlatButton *b_o = nullptr;
    FlatButton *b_d = nullptr;

    Panel *Panel1 = nullptr;
    DBGrid *DBGrid1 = nullptr;
    QLabel *Label2 = nullptr;
    CurrencyEdit *e_fh = nullptr;
    QLabel *Label3 = nullptr;
    CurrencyEdit *e_kh = nullptr;
    QLabel *Label4 = nullptr;
    CurrencyEdit *e_sf = nullptr;
    FlatButton *b_n = nullptr;
    FlatButton *b_p = nullptr;
    QLabel *Label5 = nullptr;

    // One per salary item, earning items by bh then deduction items by bh: the first
    // earningCount editors hold f1, f2, ..., the deductionCount after them k1, k2, ...
    QList<QLabel *> itemLabels;
    QList<CurrencyEdit *> itemEditors;
    // The worksheet column each item editor holds, in the editors' order.
    QStringList itemColumns;

    // The window's context menu, while no month is being entered: closing or reopening the
    // month of the month boxes.
    QAction *a_jz = nullptr;

protected:
    bool FormKeyDown(QKeyEvent *event) override;

private:
    void e_nChange();
    void b_oClick();
    void b_sClick();
    void b_cClick();
    void b_dClick();
    void b_nClick();
    void b_pClick();
    void a_jzClick();
    void LoadEmployee();
    void SumTotals();
    void showTotals();
    void e_fhChange();
    void StoreEmployee();
    void importAmounts();

    void createItems();
    // The month chosen in the two month boxes, read afresh each time.
    QString selectedMonth() const;
    // Shows the status the month has just been read with.
    void showStatus();
    void setEntryState(bool entry);
    // Runs the work of a handler of the entry state. Should the connection be lost meanwhile,
    // the month being entered is given up and the window goes back to month selection.
    template <typename Work> void whileEntering(Work &&work);
    // After saving: offers to recompute the tax of the year's later months already entered.
    void offerLaterMonths(const QString &month);

    int earningCount = 0;   // E
    int deductionCount = 0; // D
    // While an employee's amounts are put into the boxes, the totals wait for the last.
    bool loading = false;
    EntryMonth month;
    ComputedEntry computed;
};
