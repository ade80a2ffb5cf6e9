// Appends one line to the trace file named by QUILLON_HOST_TRACE, if any.
#ifndef QUILLON_HOST_TRACE_H
#define QUILLON_HOST_TRACE_H

#include <cstdio>
#include <cstdlib>

inline void hostTrace(const char* line) {
    const char* path = std::getenv("QUILLON_HOST_TRACE");
    if (path == nullptr || *path == '\0') return;
    if (std::FILE* f = std::fopen(path, "a")) {
        std::fputs(line, f);
        std::fputc('\n', f);
        std::fclose(f);
    }
}

#endif
