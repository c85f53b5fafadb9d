// The exports of the INF engine (hvinf.dll) and of the security helper (hvinfnt.dll) that
// this library looks up by name, with their exact signatures.
#pragma once

// The exports' calling convention: stdcall on 32-bit Windows; the host build has only one.
#if defined(_WIN32) && defined(__i386__)
#define HVINF_CALL __stdcall
#else
#define HVINF_CALL
#endif

namespace instsupport {

constexpr char kEngineLibrary[] = "hvinf.dll";
constexpr char kSecurityLibrary[] = "hvinfnt.dll";

using OpenInfFileProc = int(HVINF_CALL*)(const char* path);
using CloseInfFileProc = int(HVINF_CALL*)();
using EnumDelDriverRegProc = int(HVINF_CALL*)(unsigned short index, char* root, char* subKey);
using EnumDelFilesProc = int(HVINF_CALL*)(const char* section, char* path);
using EnumDelRegProc = int(HVINF_CALL*)(const char* section, char* root, char* subKey,
                                        char* valueName, char* data, int* typeFlags);
using EnumUpdateCfgSysProc = int(HVINF_CALL*)(const char* section, char* commandKind, char* value1,
                                              char* value2, char* value3, char* value4);
using EnumUpdateAutoBatProc = int(HVINF_CALL*)(const char* section, char* commandKind,
                                               char* commandText);
using EnumUpdateInisProc = int(HVINF_CALL*)(const char* section, char* iniFile, char* iniSection,
                                            char* oldEntry, char* newEntry, int* flags);
using EnumUpdateIniFieldsProc = int(HVINF_CALL*)(const char* section, char* iniFile,
                                                 char* iniSection, char* profileEntry,
                                                 char* oldField, char* newField, int* flags);
using CompareFileVersionsProc = int(HVINF_CALL*)(const char* pathA, const char* pathB,
                                                 char* versionA, char* versionB, long* comparison);
using AddAdministratorAceToAclProc = unsigned long(HVINF_CALL*)(const char* objectName);

}  // namespace instsupport
