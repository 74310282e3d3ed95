#pragma once

#include <QPalette>

// `palette` with the light grey of the program's own windows, and captions of disabled
// controls still legible on it.
QPalette withWindowGrey(QPalette palette);
