/* The few Windows types, constants and calls that Wine's help file reader (hlpfile.c) uses,
 * for compiling that reader natively on the build host as an independent check of the help
 * compiler's output. Types keep their Windows widths (LONG and DWORD are 32 bits here too).
 * The drawing calls are only reached for pictures, which our help files do not have: they
 * abort, so a file that unexpectedly asks for them fails the test loudly. */
#ifndef TUNARA_WINE_READER_WIN_TYPES_H
#define TUNARA_WINE_READER_WIN_TYPES_H

#include <stddef.h>
#include <stdint.h>
#include <string.h>

typedef unsigned char BYTE;
typedef unsigned short WORD, USHORT;
typedef int BOOL, INT, LONG;
typedef unsigned int UINT, ULONG, DWORD;
typedef char CHAR;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef const unsigned short* LPCWSTR;
typedef intptr_t LONG_PTR;
typedef size_t SIZE_T;
typedef DWORD COLORREF;
typedef int HFILE;
typedef void *HFONT, *HICON, *HBITMAP, *HDC, *HENHMETAFILE, *HGDIOBJ, *HWND, *HGLOBAL;
typedef struct { LONG x, y; } POINT;
typedef struct { LONG cx, cy; } SIZE;
typedef struct { LONG left, top, right, bottom; } RECT;
typedef struct { BYTE cBytes, fFixedDisk; WORD nErrCode, Reserved1, Reserved2; CHAR szPathName[128]; } OFSTRUCT;

#define TRUE 1
#define FALSE 0
#define WINAPI
#define HFILE_ERROR (-1)
#define OF_READ 0
#define LF_FACESIZE 32
#define LongToPtr(l) ((void*)(LONG_PTR)(l))
#ifndef min
#define min(a, b) (((a) < (b)) ? (a) : (b))
#define max(a, b) (((a) > (b)) ? (a) : (b))
#endif

typedef struct {
    LONG lfHeight, lfWidth, lfEscapement, lfOrientation, lfWeight;
    BYTE lfItalic, lfUnderline, lfStrikeOut, lfCharSet, lfOutPrecision, lfClipPrecision,
        lfQuality, lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
} LOGFONTA;

typedef struct { BYTE rgbBlue, rgbGreen, rgbRed, rgbReserved; } RGBQUAD;
typedef struct {
    DWORD biSize;
    LONG biWidth, biHeight;
    WORD biPlanes, biBitCount;
    DWORD biCompression, biSizeImage;
    LONG biXPelsPerMeter, biYPelsPerMeter;
    DWORD biClrUsed, biClrImportant;
} BITMAPINFOHEADER;
typedef struct { BITMAPINFOHEADER bmiHeader; RGBQUAD bmiColors[1]; } BITMAPINFO;

#define RGB(r, g, b) ((COLORREF)(((BYTE)(r)) | ((WORD)((BYTE)(g)) << 8) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(c) ((BYTE)(c))
#define GetGValue(c) ((BYTE)((c) >> 8))
#define GetBValue(c) ((BYTE)((c) >> 16))

#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define DEFAULT_PITCH 0
#define FF_MODERN 0x30
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_SCRIPT 0x40
#define FF_DECORATIVE 0x50
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define MAC_CHARSET 77
#define SHIFTJIS_CHARSET 128
#define HANGEUL_CHARSET 129
#define JOHAB_CHARSET 130
#define GB2312_CHARSET 134
#define CHINESEBIG5_CHARSET 136
#define GREEK_CHARSET 161
#define TURKISH_CHARSET 162
#define VIETNAMESE_CHARSET 163
#define HEBREW_CHARSET 177
#define ARABIC_CHARSET 178
#define BALTIC_CHARSET 186
#define RUSSIAN_CHARSET 204
#define THAI_CHARSET 222
#define EE_CHARSET 238
#define CW_USEDEFAULT ((int)0x80000000)
#define SW_SHOW 5
#define WS_OVERLAPPEDWINDOW 0x00CF0000
#define SRCCOPY 0x00CC0020
#define SRCAND 0x008800C6
#define SRCPAINT 0x00EE0086
#define CBM_INIT 4
#define DIB_RGB_COLORS 0
#define BI_RGB 0

/* Files: plain POSIX underneath (wine_stubs.c). */
HFILE OpenFile(LPCSTR path, OFSTRUCT* ofs, UINT mode);
LONG _hread(HFILE file, void* buffer, LONG count);
HFILE _lclose(HFILE file);

/* Plain helpers with their Windows behaviour. */
INT MulDiv(INT a, INT b, INT c);
LPSTR lstrcpynA(LPSTR dst, LPCSTR src, INT n);

/* Drawing: never reached for files without pictures (they abort). */
HICON CreateIconFromResourceEx(const BYTE*, UINT, BOOL, DWORD, INT, INT, UINT);
HDC GetDC(HWND);
INT ReleaseDC(HWND, HDC);
HBITMAP CreateDIBitmap(HDC, const BITMAPINFOHEADER*, DWORD, const void*, const BITMAPINFO*, UINT);
HDC CreateCompatibleDC(HDC);
HBITMAP CreateBitmap(INT, INT, UINT, UINT, const void*);
HGDIOBJ SelectObject(HDC, HGDIOBJ);
COLORREF SetBkColor(HDC, COLORREF);
COLORREF SetTextColor(HDC, COLORREF);
BOOL BitBlt(HDC, INT, INT, INT, INT, HDC, INT, INT, DWORD);
BOOL DeleteDC(HDC);
BOOL DeleteObject(HGDIOBJ);
BOOL DestroyIcon(HICON);
HDC CreateEnhMetaFileW(HDC, LPCWSTR, const RECT*, LPCWSTR);
HENHMETAFILE CloseEnhMetaFile(HDC);
UINT GetEnhMetaFileBits(HENHMETAFILE, UINT, BYTE*);
BOOL DeleteEnhMetaFile(HENHMETAFILE);

#endif
