#pragma once

#include <QImage>

// The 32 x 32 pictures on the upper buttons of the main window's left column.
QImage paintEntryIcon();
QImage paintQueryIcon();
QImage paintPayslipIcon();
