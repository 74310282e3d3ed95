#pragma once

#include <QString>

// What is wrong with a resident identity card number, in a sentence for the clerk; empty when
// it passes: 18 characters, 17 digits and the check character (a digit or X) they give.
QString idNumberProblem(const QString &number);
