// Paints the program's artwork and writes it into the folder named on the command line. Its
// output is committed under resources/; after changing a drawing, rebuild and run, from the
// top of the source tree:
//
//   cmake --build build --target gz-artwork && build/tools/artwork/gz-artwork resources
//
// and look at every picture before committing: nothing here checks that they look right.

#include "background.h"
#include "largeicons.h"
#include "smallicons.h"
#include "toolicons.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QTextStream>

namespace {

struct Picture {
    const char *fileName;
    QImage (*paint)();
};

constexpr Picture pictures[] = {
    {"background.jpg", paintBackground},
    {"close.png", paintCloseIcon},
    {"entry.png", paintEntryIcon},
    {"query.png", paintQueryIcon},
    {"payslip.png", paintPayslipIcon},
    {"statistics.png", paintStatisticsIcon},
    {"departments.png", paintDepartmentsIcon},
    {"employees.png", paintEmployeesIcon},
    {"items.png", paintItemsIcon},
    {"add.png", paintAddIcon},
    {"modify.png", paintModifyIcon},
    {"toggle.png", paintToggleIcon},
    {"save.png", paintSaveIcon},
    {"cancel.png", paintCancelIcon},
    {"prepare.png", paintPrepareIcon},
    {"remove.png", paintRemoveIcon},
    {"next.png", paintNextIcon},
    {"previous.png", paintPreviousIcon},
    {"printer.png", paintPrinterIcon},
};

// The background is nearly all soft gradients: this quality keeps them free of bands while
// the file stays a small part of the size of a lossless one.
constexpr int jpegQuality = 85;
// Qt reads a PNG's quality as the inverse of its compression level: 0 packs tightest, and
// PNG loses nothing either way.
constexpr int pngQuality = 0;

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2) {
        err << "usage: gz-artwork FOLDER\n";
        return 2;
    }
    const QDir folder(arguments.at(1));
    if (!folder.mkpath(QStringLiteral("."))) {
        err << "cannot create " << folder.path() << '\n';
        return 1;
    }

    for (const Picture &picture : pictures) {
        const QString fileName = QString::fromLatin1(picture.fileName);
        QImageWriter writer(folder.filePath(fileName));
        writer.setQuality(fileName.endsWith(QLatin1String(".jpg")) ? jpegQuality : pngQuality);
        if (!writer.write(picture.paint())) {
            err << writer.fileName() << ": " << writer.errorString() << '\n';
            return 1;
        }
    }
    return 0;
}
