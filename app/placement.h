#pragma once

class QWidget;

// Moves a top-level window to the centre of the screen it is on.
void centreOnScreen(QWidget *window);
