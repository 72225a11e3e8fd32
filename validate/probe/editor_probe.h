/* editor_probe.h - the test hook of the plug-in's probe build.
 *
 * vantorel_probe.p is the plug-in's own objects linked with one file more,
 * editor_probe.cpp, which exports vantorelEditorProbe beside _mod_descrip.
 * Through it the validator sees what no host call shows: the rows past the
 * filled ones, the copy buffer's row and the prefix as the plug-in's record
 * holds them. The shipped vantorel.p has no such export; on it the validator
 * says which checks it could not make.
 *
 * The view points into the library's static record, so its pointers stay
 * valid while the library is loaded; its values are those of the moment of
 * the call. Plain C, so that the probe can be built with the plug-in's flags.
 */
#ifndef VANTOREL_VALIDATE_PROBE_EDITOR_PROBE_H
#define VANTOREL_VALIDATE_PROBE_EDITOR_PROBE_H

#include <stddef.h>
#include <stdint.h>

#define VANTOREL_EDITOR_PROBE_SYMBOL "vantorelEditorProbe"

/* Raised whenever the view changes shape; a probe answers only its own. */
enum { VANTOREL_EDITOR_PROBE_VERSION = 1 };

struct VantorelEditorView {
    int32_t lightCount;     /* rows the scan filled */
    int32_t prefixLength;   /* characters the record counts in its prefix */
    const char *prefixText; /* the record's prefix text */
    int32_t copyValid;      /* nonzero once a row has been copied */
    const void *copyRow;    /* the copy buffer's row, padding included */
    size_t copyRowSize;
    const void *rowsPastFilled; /* the rows from lightCount (held to the table) up to the copy row */
    size_t rowsPastFilledSize;
    const void *record; /* the whole record, for comparing it byte for byte */
    size_t recordSize;
};

#ifdef __cplusplus
extern "C" {
#endif

/* Fills *view and returns 1 once an activation has set the record up;
 * returns 0, leaving *view alone, before that or for another version. */
typedef int32_t (*VantorelEditorProbeFunc)(int32_t version, struct VantorelEditorView *view);

#ifdef __cplusplus
}
#endif

#endif
