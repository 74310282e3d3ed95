#pragma once

#include <sys/types.h>

// Where this program's own open-file-description locks lie on the database file. The engine
// locks the file with classic record locks on the bytes from 1 GiB on (its pending, reserved
// and shared bytes, a few hundred of them), and classic and open-file-description locks on
// overlapping bytes conflict. Ours lie about 4 EiB, far past any lock of the engine and any
// size a payroll file can reach; a lock past the end of a file is allowed and does not grow
// it.

// Held shared by every running copy, exclusively while the file is replaced.
constexpr off_t copiesRunningByte = (off_t(1) << 62) - 1;
// A month's claim lies at this offset plus the month key read as a number.
constexpr off_t monthClaimsStart = off_t(1) << 62;
