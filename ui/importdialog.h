#pragma once

#include "importsheet.h"
#include "moduleform.h"

#include <memory>

class FlatButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class Workbook;

// What the imports from a workbook share: the clerk picks a file and a sheet, reads what the
// import would change and every problem, and only then imports it or leaves. Reading a large
// sheet shows progress and may be cancelled. Each import says which headers it knows, what a
// sheet means, and how it is written.
class ImportDialog : public ModuleForm {
public:
    // `ownHeight`: the room an import's own controls take between the sheet and the preview.
    ImportDialog(const QString &caption, const QString &title, QSize size, int ownHeight);
    ~ImportDialog() override;

    // Reads the workbook at `path` and shows its first visible sheet; what 选择文件… does once
    // the clerk has chosen.
    void openFile(const QString &path);
    // Shows sheet `index` of the open workbook.
    void chooseSheet(int index);

    QLineEdit *e_file = nullptr;
    FlatButton *b_file = nullptr;
    QComboBox *c_sheet = nullptr;
    QPlainTextEdit *t_preview = nullptr;
    FlatButton *b_import = nullptr;
    FlatButton *b_close = nullptr;

protected:
    // The headers the import recognises: they pick the header row.
    virtual QStringList knownHeaders() const = 0;
    // A sheet has just been read, before its first preview.
    virtual void sheetRead(const ImportSheet &) {}
    // Works out what `sheet` would change and returns it as the preview's text; `importable`
    // says whether anything would be written.
    virtual QString preview(const ImportSheet &sheet, bool &importable) = 0;
    // Writes what the preview showed, after the clerk confirmed it.
    virtual void write() = 0;
    // The sheet read last, for an import that shows it again (a changed mapping, say).
    const ImportSheet &sheet() const { return m_sheet; }
    void showPreview();
    // Below the file and sheet, where an import puts controls of its own.
    static constexpr int ownControlsTop = 94;

private:
    void b_fileClick();
    void c_sheetChange();
    void b_importClick();

    std::unique_ptr<Workbook> m_book;
    ImportSheet m_sheet;
    bool m_filling = false;
};
