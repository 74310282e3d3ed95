#pragma once

#include <QString>

class QTemporaryFile;

// Replacing a file so that a crash or a failure at any moment leaves either the old or the
// new file under its name, whole. The new file is written under a temporary name beside the
// target (see replacementBeside), flushed to disk, given the target's owner, group and
// permissions, renamed over the target, and the rename itself is flushed with the folder. In
// a folder several users share, the file in place thus stays as open to each of them as it
// was; where the user may not give the new file the target's owner or group, the target is
// not replaced.

// Gives the file or folder at `path` the owner, group and permissions of `reference`, as far
// as the user may. No when any of them could not be set.
bool takeOwnership(const QString &path, const QString &reference);

// Whether this user may put a new file in place of `target`: one they may write, that someone
// may write (a file nobody may write is read-only on purpose), and whose owner and group they
// may give a new file.
bool mayReplace(const QString &target);

// The name pattern for a QTemporaryFile that will replace a file in `folder`. It is private
// to its owner while it is written, and a crash leaves it where
// removeUnfinishedReplacements finds it.
QString replacementBeside(const QString &folder);

// Puts the written `replacement` (made with replacementBeside in the target's folder) in
// place of the existing `target`. On failure the target is as it was, and the replacement is
// removed with its object.
bool moveIntoPlace(QTemporaryFile &replacement, const QString &target);

// Puts a copy of the file `replacement` in place of `target`, as above; a new target gets
// the owner, group and permissions of the file it copies.
bool replaceFile(const QString &replacement, const QString &target);

// Removes what a replacement interrupted by a crash left in `folder`. Only while no other
// replacement in that folder can be running.
void removeUnfinishedReplacements(const QString &folder);
