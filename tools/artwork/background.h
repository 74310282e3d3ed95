#pragma once

#include <QImage>

// The picture behind the main window: a quiet grey ground with a soft figure to the right,
// leaving the left column and the title strip plain so their captions stay readable.
QImage paintBackground();
