#pragma once

#include <QString>

class QTemporaryFile;

// Replacing a file so that a crash or a failure at any moment leaves either the old or the
// new file under its name, whole. The new file is written under a temporary name beside the
// target (see replacementBeside), flushed to disk, given the target's permissions, renamed
// over the target, and the rename itself is flushed with the folder.

// The name pattern for a QTemporaryFile that will replace a file in `folder`. It is private
// to its owner while it is written, and a crash leaves it where
// removeUnfinishedReplacements finds it.
QString replacementBeside(const QString &folder);

// Puts the written `replacement` (made with replacementBeside in the target's folder) in
// place of the existing `target`. On failure the target is as it was, and the replacement is
// removed with its object.
bool moveIntoPlace(QTemporaryFile &replacement, const QString &target);

// Puts a copy of the file `replacement` in place of `target`, as above; a new target gets
// the permissions of the file it copies.
bool replaceFile(const QString &replacement, const QString &target);

// Removes what a replacement interrupted by a crash left in `folder`. Only while no other
// replacement in that folder can be running.
void removeUnfinishedReplacements(const QString &folder);
