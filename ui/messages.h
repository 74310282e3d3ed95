#pragma once

#include <QString>
#include <functional>

class QWidget;

// Every message the program shows the operator goes through here, so that all boxes have one
// look and tests can answer them without a person.
namespace Messages {

enum class Kind { Plain, Information, Confirmation, Error };

struct Shown {
    Kind kind;
    QString title;
    QString text;
};

// The application title: the platform's name for the program and the title of error boxes.
QString applicationTitle();

void plain(const QString &text);       // title: the application title, no icon, "OK"
void information(const QString &text); // "Information", information icon, "OK"
bool confirm(const QString &text);     // "Confirm", question icon, "&Yes"/"&No": true for Yes
void error(const QString &text);       // application title, error icon, one button

// The error text as the error box shows it: a full stop is added when the last character
// sorts after "." (a letter, a digit or a Chinese character) and is not a punctuation mark.
QString errorText(const QString &text);

// Replaces the boxes with an answering function (true means Yes) until reset with {}.
using Responder = std::function<bool(const Shown &)>;
void setResponder(Responder responder);

} // namespace Messages
