#pragma once

#include <QImage>

// The 20 x 20 close button.
QImage paintCloseIcon();

// The 24 x 24 pictures on the lower buttons of the main window's left column.
QImage paintStatisticsIcon();
QImage paintDepartmentsIcon();
QImage paintEmployeesIcon();
QImage paintItemsIcon();
