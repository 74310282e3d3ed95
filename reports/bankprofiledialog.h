#pragma once

#include "bankprofile.h"
#include "moduleform.h"

class FlatButton;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QTableWidget;

// The bank profiles: the list on the left, the chosen one's layout on the right. A profile is
// made new or as a copy of the one shown, changed and deleted here; nothing is stored until it
// is whole, and nothing another clerk changed since it was shown is overwritten.
class BankProfileDialog : public ModuleForm {
public:
    BankProfileDialog();

    void FormCreate() override;

    QListWidget *l_gs = nullptr;
    QLineEdit *e_mc = nullptr;
    QComboBox *c_wjlx = nullptr;
    QComboBox *c_bm = nullptr;
    QLineEdit *e_fgf = nullptr;
    QPlainTextEdit *e_btwb = nullptr;
    QCheckBox *c_lbt = nullptr;
    QComboBox *c_hjh = nullptr;
    // One row per field: 字段 and 对齐 are choices, 标题, 内容 and 宽度 typed.
    QTableWidget *t_zd = nullptr;
    FlatButton *b_addfield = nullptr;
    FlatButton *b_delfield = nullptr;
    FlatButton *b_new = nullptr;
    FlatButton *b_copy = nullptr;
    FlatButton *b_delete = nullptr;
    FlatButton *b_save = nullptr;

private:
    // The stored profiles, the one numbered `shown` chosen (none, or gone: the first).
    void listProfiles(qint64 shown);
    void showProfile(const BankProfile &profile);
    BankProfile edited() const;
    // A row of the table of fields, at its end.
    void addField(const BankField &field);
    void l_gsChange();
    void c_wjlxChange();
    void b_addfieldClick();
    void b_delfieldClick();
    void b_newClick();
    void b_copyClick();
    void b_deleteClick();
    void b_saveClick();

    std::vector<BankProfile> m_profiles;
    BankProfile m_asRead; // id 0: a profile not stored yet
};
