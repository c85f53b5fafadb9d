// Code built without exceptions, as the Windows deliverables are, that runs into failed
// allocations at recovery points (recovery_subject.cpp); recovery_test.cpp checks the answers.
#pragma once

#include <string>
#include <vector>

namespace recovery_subject {

// unlessOutOfMemory(-1, body returning 7), the body failing or not.
int plain(bool fail);
// A std::string result: the body's text, or the fallback's when it fails.
std::string text(bool fail);
// An inner point takes the inner failure; the outer body then goes on, fails itself when
// asked, and the outer point takes that. The steps taken, in order.
std::vector<int> nested(bool outerFails);
// A failure 500 calls deep (each frame with an array of its own) is taken at the point
// outside the recursion; sums of values kept in the caller's locals across it are intact.
long deep();
// Fails with no recovery point open (the process ends).
void withoutPoint();

}  // namespace recovery_subject
