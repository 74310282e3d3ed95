#pragma once

#include <QString>
#include <QTemporaryFile>
#include <stdexcept>

// A report could not be saved as a file; the text names the file, says so in Chinese and
// gives the writer's or the system's reason beneath.
class ExportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file a report is saved as, written beside its target under a hidden name and given the
// target's name only when complete. Until then, and after any failure or cancellation, a file
// already under that name stays as it was and nothing else is left behind.
class ExportFile {
public:
    // Throws ExportError when the folder cannot take the file.
    explicit ExportFile(const QString &path);
    ExportFile(const ExportFile &) = delete;
    ExportFile &operator=(const ExportFile &) = delete;

    // For writers that take a device: open for writing. A failed write leaves its error
    // here, where check() and commit() find it.
    QFile &device() { return m_partial; }
    // For writers that open the file by name: close the device first.
    QString partialPath() const { return m_partial.fileName(); }

    // Throws ExportError when a write to the device has failed.
    void check() const;
    // Flushes what was written to the disk and puts the file under its name; throws
    // ExportError when any of it fails.
    void commit();

    [[noreturn]] void fail(const QString &reason) const;

private:
    QString m_path;
    QTemporaryFile m_partial;
};
