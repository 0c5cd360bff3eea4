// Resident memory of a process, in kB, from its /proc status file ("self" or
// a process id); -1 when it cannot be read.
#pragma once
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static long rss_kb_of(const char *process)
{
    char path[64], line[256];
    snprintf(path, sizeof path, "/proc/%s/status", process);
    FILE *f = fopen(path, "r");
    long kb = -1;
    if (!f)
        return -1;
    while (fgets(line, sizeof line, f))
        if (strncmp(line, "VmRSS:", 6) == 0)
            kb = atol(line + 6);
    fclose(f);
    return kb;
}
