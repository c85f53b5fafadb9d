/* One base relocation record for a language module, which has no code of its own.
 *
 * The modules are linked for 0x10000000, the base most DLLs of their time were built for, so
 * another DLL (a system-wide hook, a shell extension) often holds that address when the
 * program loads its module and the loader has to move it. Windows NT moves a DLL that has no
 * relocation records as long as it is not marked as fixed; the Windows 95/98 loader is not
 * documented to. A module with a relocation table is movable on every loader, and this
 * pointer to itself is the smallest thing that gives the linker one to write. */
__attribute__((used)) static const void* const anchor = &anchor;
