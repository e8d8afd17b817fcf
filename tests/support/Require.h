#pragma once

#include "platform/Connection.h"

#include <cstdio>
#include <cstdlib>
#include <source_location>

// A set-up step of a test harness or benchmark that must work: a failure ends the
// program, naming the step's place and, for the database, what it said.
inline void Require(bool done, std::source_location where = std::source_location::current())
{
    if (done)
        return;
    std::fprintf(stderr, "%s:%u: a required step failed\n", where.file_name(), unsigned(where.line()));
    std::abort();
}

inline void Require(const DbResult& result, std::source_location where = std::source_location::current())
{
    if (result.Ok())
        return;
    std::fprintf(stderr, "%s:%u: %s\n", where.file_name(), unsigned(where.line()), qPrintable(result.text));
    std::abort();
}
