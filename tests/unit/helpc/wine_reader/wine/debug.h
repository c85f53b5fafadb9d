/* Wine's debug channels for the natively compiled reader: traces are dropped; errors, warnings
 * and fixme notes are printed and counted, so a test can demand that reading our files gives
 * none of them. */
#ifndef TUNARA_WINE_READER_DEBUG_H
#define TUNARA_WINE_READER_DEBUG_H
#include <stdio.h>

extern int wine_reader_complaints;
#define WINE_DEFAULT_DEBUG_CHANNEL(ch)
#define WINE_TRACE(...) ((void)0)
#define WINE_COMPLAIN(kind, ...) \
    (++wine_reader_complaints, fprintf(stderr, "winhlp32 " kind ": " __VA_ARGS__))
#define WINE_ERR(...) WINE_COMPLAIN("err", __VA_ARGS__)
#define WINE_WARN(...) WINE_COMPLAIN("warn", __VA_ARGS__)
#define WINE_FIXME(...) WINE_COMPLAIN("fixme", __VA_ARGS__)
static inline const char* debugstr_a(const char* s) { return s ? s : "(null)"; }
#endif
