/* Force-included into each C file of the Windows build's libical (see
   cmake/TallyoBuild.cmake). libical reads its built-in time zones with
   fopen, fgets and fclose from a folder; there the calls go to
   builtin_zone_files.cpp, which serves the zone files compiled into the
   program (builtin_zone_files.h) and hands every other file to the C
   library. So Tallyo.exe stays one file: no zone folder beside it. */
#ifndef TALLYO_ICAL_LIBICAL_FILE_HOOKS_H
#define TALLYO_ICAL_LIBICAL_FILE_HOOKS_H

/* Only in libical's own sources (and in ours, for the declarations): its
   configure checks must see none of this, or declaring a function of stdio.h
   the way they do (char snprintf();) fails to compile and is taken for its
   absence. */
#if defined(HAVE_CONFIG_H) || defined(__cplusplus)

#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif
FILE* tallyo_zone_fopen(const char* path, const char* mode);
char* tallyo_zone_fgets(char* buffer, int size, FILE* file);
int tallyo_zone_fclose(FILE* file);
#ifdef __cplusplus
}
#endif

#ifdef HAVE_CONFIG_H
#define fopen tallyo_zone_fopen
#define fgets tallyo_zone_fgets
#define fclose tallyo_zone_fclose
#endif

#endif

#endif
