#include "guard.h"

#include "messages.h"

#include <QString>

void showFailure(const std::exception &failure) {
    Messages::error(QString::fromUtf8(failure.what()));
}
