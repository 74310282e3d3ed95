#pragma once

#include <QString>

// Flushes to the disk what the system still holds in memory, so that a crash or a power cut
// right afterwards cannot undo it. Yes when the disk confirmed it.

// A file's contents.
bool syncFile(const QString &path);

// A folder's entries: a file's new name (after a rename or a link) stands only once its
// folder is flushed.
bool syncFolder(const QString &folder);
