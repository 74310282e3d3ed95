#pragma once

#include "declarationmapping.h"
#include "moduleform.h"

#include <vector>

class FlatButton;
class QComboBox;
class QTableWidget;

// Which salary item feeds which column of the tax declaration, one line per item; the program's
// guess is shown for an item the clerk has not set yet, and stored with the rest.
class DeclarationMappingDialog : public ModuleForm {
public:
    DeclarationMappingDialog();

    void FormCreate() override;

    // The column box of the item on `row`.
    QComboBox *headingBox(int row) const;

    QTableWidget *t_xm = nullptr; // item, kind, column
    FlatButton *b_ok = nullptr;
    FlatButton *b_cancel = nullptr;

private:
    void b_okClick();

    std::vector<MappedItem> m_items;
};
