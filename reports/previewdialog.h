#pragma once

#include "reportexport.h"

#include <QDialog>
#include <QPrinter>

class PageView;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolBar;

// The preview of a report: its pages to page through and zoom, and from its toolbar the
// page set-up, printing, and saving as a PDF file or a spreadsheet. Every action has an
// object name ("print", "nextPage", "导出PDF", ...). Every button is reached by Tab, and
// turning, zooming and printing have keys too, named in the buttons' tooltips.
class PreviewDialog : public QDialog {
    Q_OBJECT
public:
    PreviewDialog(const PreviewedReport &report, QWidget *parent = nullptr);

    PageView &pages() const { return *m_view; }

private:
    void addZoomActions(QToolBar &toolBar);
    void addPageActions(QToolBar &toolBar);
    void addPrintActions(QToolBar &toolBar);
    void addExportActions(QToolBar &toolBar);
    void showZoom();
    void print();
    void save(const ReportExport &format);

    const PreviewedReport m_report; // a copy: callers hand over a temporary
    QPrinter m_printer;
    PageView *m_view;
    QComboBox *m_zoom = nullptr;
    QLineEdit *m_pageNumber = nullptr;
};
