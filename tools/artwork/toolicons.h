#pragma once

#include <QImage>

// The 32 x 32 pictures on the tool buttons inside the module windows.
QImage paintAddIcon();
QImage paintModifyIcon();
QImage paintToggleIcon();
QImage paintSaveIcon();
QImage paintCancelIcon();
QImage paintPrepareIcon();
QImage paintRemoveIcon();
QImage paintNextIcon();
QImage paintPreviousIcon();
QImage paintPrinterIcon();
