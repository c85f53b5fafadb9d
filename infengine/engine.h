// The INF installation engine: the operations behind the exports of hvinf.dll, with the
// exports' own arguments and results, so the host tests call exactly what a setup program
// reaches.
//
// Results: 0 means success, or that an entry was returned; 1 means failure, or that there
// are no (more) entries. Every text output is a caller buffer of at least 260 bytes
// (MAX_PATH): at most 260 bytes are written into it, terminating zero included, and a longer
// text is cut without notice, except a registry key, which is never handed out cut (its entry
// is skipped). A null output pointer is left alone.
//
// Calling order: OpenInfFile first; then the queries and enumerations; CloseInfFile last.
// Enumerations: the first call names the install section and returns the first entry; each
// further call passes a null section, with the same output buffers, and returns the next
// entry, until the result is 1. All enumerations share one current line, so one must run to
// its end (or be started again) before another is called.
#pragma once

#include <cstdint>

namespace infengine {

// ---- The INF handle and the section lists (inf_handle.cpp, single_lists.cpp) ------------

// Opens the INF at `path` (a full path) through the INF reader, closing an INF that is still
// open, and clears what the engine had resolved from it. 0 opened; 1 the reader could not
// open it (no INF is open then).
int OpenInfFile(const char* path);

// 0 closed; 1 no INF was open.
int CloseInfFile();

// 0 the install section of the matched device has a "Restart" or a "Reboot" line; 1 it has
// neither, or no device has been matched yet.
int RestartOrReboot();

// The values of the "Include" (INF file names) and "Needs" (section names) lines of an install
// section. EnumNeeds also keeps each name as the last needed section.
int EnumInclude(const char* section, char* name);
int EnumNeeds(const char* section, char* name);

// ---- Files (copy_files.cpp) -------------------------------------------------------------

// The files the install section's "CopyFiles" sections copy: full source and destination
// paths. A source missing next to the INF is looked for in the Windows layout INFs and
// extracted from the distribution cabinet into the Windows temp folder; an entry whose source
// is missing and whose destination exists already is skipped.
int EnumCopyFiles(const char* section, char* source, char* destination);

// The files the install section's "DelFiles" sections delete: full paths.
int EnumDelFiles(const char* section, char* path);

// ---- Registry and text files (registry_sections.cpp, text_sections.cpp) ----------------

// The values of the "AddReg" / "DelReg" sections: root name ("HKLM", "HKCR", "HKCU", "HKU"),
// sub key, value name, data (encoded by the type flags) and the INF flags.
int EnumAddReg(const char* section, char* root, char* subKey, char* valueName, char* data,
               int* typeFlags);
int EnumDelReg(const char* section, char* root, char* subKey, char* valueName, char* data,
               int* typeFlags);

// The lines of the "UpdateInis" and "UpdateIniFields" sections, split into their values.
int EnumUpdateInis(const char* section, char* iniFile, char* iniSection, char* oldEntry,
                   char* newEntry, int* flags);
int EnumUpdateIniFields(const char* section, char* iniFile, char* iniSection,
                        char* profileEntry, char* oldField, char* newField, int* flags);

// The "CmdAdd" / "CmdDelete" lines of the "UpdateAutoBat" sections.
int EnumUpdateAutoBat(const char* section, char* commandKind, char* commandText);

// The "DevAddDev", "DevDelete" and "DevRename" lines of the "UpdateCfgSys" sections.
int EnumUpdateCfgSys(const char* section, char* commandKind, char* value1, char* value2,
                     char* value3, char* value4);

}  // namespace infengine
