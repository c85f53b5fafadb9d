#include "instsupport/lead_bytes.h"

namespace instsupport {
namespace {

bool singleByte(unsigned char) {
    return false;
}

LeadByteTest currentTest = singleByte;

}  // namespace

bool isLeadByte(unsigned char byte) {
    return currentTest(byte);
}

LeadByteTest setLeadByteTest(LeadByteTest test) {
    LeadByteTest previous = currentTest;
    currentTest = test ? test : singleByte;
    return previous;
}

}  // namespace instsupport
