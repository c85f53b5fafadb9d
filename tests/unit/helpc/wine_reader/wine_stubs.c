/* The Windows calls of Wine's help file reader, on the build host. */
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include "win_types.h"

int wine_reader_complaints = 0;

HFILE OpenFile(LPCSTR path, OFSTRUCT* ofs, UINT mode) {
    (void)ofs;
    (void)mode;
    int fd = open(path, O_RDONLY);
    return fd < 0 ? HFILE_ERROR : fd;
}

LONG _hread(HFILE file, void* buffer, LONG count) {
    LONG total = 0;
    while (total < count) {
        ssize_t got = read(file, (char*)buffer + total, (size_t)(count - total));
        if (got <= 0) break;
        total += (LONG)got;
    }
    return total;
}

HFILE _lclose(HFILE file) { return close(file) == 0 ? 0 : HFILE_ERROR; }

INT MulDiv(INT a, INT b, INT c) { return c == 0 ? -1 : (INT)(((long long)a * b) / c); }

LPSTR lstrcpynA(LPSTR dst, LPCSTR src, INT n) {
    if (n <= 0) return dst;
    strncpy(dst, src, (size_t)n - 1);
    dst[n - 1] = 0;
    return dst;
}

static void* unexpected(const char* call) {
    fprintf(stderr, "the help file reader drew a picture (%s): not expected here\n", call);
    abort();
}

HICON CreateIconFromResourceEx(const BYTE* a, UINT b, BOOL c, DWORD d, INT e, INT f, UINT g) {
    (void)a, (void)b, (void)c, (void)d, (void)e, (void)f, (void)g;
    return unexpected("CreateIconFromResourceEx");
}
HDC GetDC(HWND w) { (void)w; return unexpected("GetDC"); }
INT ReleaseDC(HWND w, HDC d) { (void)w, (void)d; unexpected("ReleaseDC"); return 0; }
HBITMAP CreateDIBitmap(HDC a, const BITMAPINFOHEADER* b, DWORD c, const void* d, const BITMAPINFO* e, UINT f) {
    (void)a, (void)b, (void)c, (void)d, (void)e, (void)f;
    return unexpected("CreateDIBitmap");
}
HDC CreateCompatibleDC(HDC d) { (void)d; return unexpected("CreateCompatibleDC"); }
HBITMAP CreateBitmap(INT a, INT b, UINT c, UINT d, const void* e) {
    (void)a, (void)b, (void)c, (void)d, (void)e;
    return unexpected("CreateBitmap");
}
HGDIOBJ SelectObject(HDC d, HGDIOBJ o) { (void)d, (void)o; return unexpected("SelectObject"); }
COLORREF SetBkColor(HDC d, COLORREF c) { (void)d, (void)c; unexpected("SetBkColor"); return 0; }
COLORREF SetTextColor(HDC d, COLORREF c) { (void)d, (void)c; unexpected("SetTextColor"); return 0; }
BOOL BitBlt(HDC a, INT b, INT c, INT d, INT e, HDC f, INT g, INT h, DWORD i) {
    (void)a, (void)b, (void)c, (void)d, (void)e, (void)f, (void)g, (void)h, (void)i;
    unexpected("BitBlt");
    return FALSE;
}
BOOL DeleteDC(HDC d) { (void)d; unexpected("DeleteDC"); return FALSE; }
/* Freeing a help file deletes its fonts and icon, which the reader never created: null. */
BOOL DeleteObject(HGDIOBJ o) {
    if (o != NULL) unexpected("DeleteObject");
    return FALSE;
}
BOOL DestroyIcon(HICON icon) {
    if (icon != NULL) unexpected("DestroyIcon");
    return FALSE;
}
HDC CreateEnhMetaFileW(HDC a, LPCWSTR b, const RECT* c, LPCWSTR d) {
    (void)a, (void)b, (void)c, (void)d;
    return unexpected("CreateEnhMetaFileW");
}
HENHMETAFILE CloseEnhMetaFile(HDC d) { (void)d; return unexpected("CloseEnhMetaFile"); }
UINT GetEnhMetaFileBits(HENHMETAFILE h, UINT n, BYTE* b) { (void)h, (void)n, (void)b; unexpected("GetEnhMetaFileBits"); return 0; }
BOOL DeleteEnhMetaFile(HENHMETAFILE h) { (void)h; unexpected("DeleteEnhMetaFile"); return FALSE; }
