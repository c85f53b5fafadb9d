// Double-byte character sets: which bytes start a two-byte character in the system's ANSI
// code page. The product's own code page, 1252, has none; the DLL installs IsDBCSLeadByte so
// that paths on Far-East systems are scanned character by character.
#pragma once

namespace instsupport {

using LeadByteTest = bool (*)(unsigned char byte);

// True when `byte` starts a two-byte character.
bool isLeadByte(unsigned char byte);

// Replaces the test (null puts back the single-byte one) and returns the previous one.
LeadByteTest setLeadByteTest(LeadByteTest test);

}  // namespace instsupport
