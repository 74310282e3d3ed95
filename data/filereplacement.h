#pragma once

#include <QString>

// Puts a copy of `replacement` in place of `target` so that a crash or a failure at any
// moment leaves either the old or the new file, whole: the copy is written to a temporary
// file beside the target, flushed to disk, given the target's permissions, renamed over the
// target, and the rename itself is flushed with the folder. On failure the temporary file is
// removed and the target is as it was.
bool replaceFile(const QString &replacement, const QString &target);

// Removes what a replacement interrupted by a crash left in `folder`. Only while no other
// replacement in that folder can be running.
void removeUnfinishedReplacements(const QString &folder);
