#pragma once

#include "moduleform.h"

struct BankBatch;
class FlatButton;
class QComboBox;
struct BankProfile;

// The bank's payment file of a saved month: the month (the latest saved one first) and the
// profile are chosen, the count, total and everyone left out are shown for the clerk to
// accept, and only then is the file asked for and written.
class BankExportDialog : public ModuleForm {
public:
    BankExportDialog();

    void FormCreate() override;

    QComboBox *c_ny = nullptr;
    QComboBox *c_gs = nullptr;
    FlatButton *b_gs = nullptr;
    FlatButton *b_export = nullptr;

private:
    // What the clerk is asked before anything is written.
    static QString confirmation(const BankProfile &profile, const BankBatch &batch);
    void listProfiles();
    void b_gsClick();
    void b_exportClick();
};
