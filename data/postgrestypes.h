#pragma once

#include <postgres_ext.h>

// Type numbers of the server's catalogue (pg_type), fixed since PostgreSQL's first releases.
inline constexpr Oid booleanType = 16;
inline constexpr Oid bigintType = 20;
inline constexpr Oid smallintType = 21;
inline constexpr Oid integerType = 23;
inline constexpr Oid realType = 700;
inline constexpr Oid doubleType = 701;
inline constexpr Oid numericType = 1700;
