#include "tests/unit/runtime/recovery_subject.h"

#include "platform/out_of_memory.h"

#if defined(__cpp_exceptions)
#error "built without exceptions, as the Windows deliverables are"
#endif

namespace recovery_subject {
namespace {

int descend(int depth) {
    volatile char frame[64];
    frame[0] = static_cast<char>(depth);
    if (depth < 0) return 0;
    if (depth == 0) runtime::outOfMemory();
    return descend(depth - 1) + frame[0];
}

}  // namespace

int plain(bool fail) {
    // A named body (an lvalue), where the others pass theirs as temporaries.
    auto body = [&] {
        if (fail) runtime::outOfMemory();
        return 7;
    };
    return platform::unlessOutOfMemory(-1, body);
}

std::string text(bool fail) {
    return platform::unlessOutOfMemory(std::string("fallback"), [&] {
        std::string made(10, 'x');  // kept short: no heap block is left behind by the cut
        if (fail) runtime::outOfMemory();
        return made;
    });
}

std::vector<int> nested(bool outerFails) {
    std::vector<int> steps;
    const int outer = platform::unlessOutOfMemory(-10, [&] {
        steps.push_back(1);
        const int inner = platform::unlessOutOfMemory(-20, [&] {
            steps.push_back(2);
            runtime::outOfMemory();
            return 0;
        });
        steps.push_back(inner);
        if (outerFails) runtime::outOfMemory();
        steps.push_back(3);
        return 30;
    });
    steps.push_back(outer);
    return steps;
}

long deep() {
    long a = 11, b = 22, c = 33, d = 44;
    long total = 0;
    for (int round = 0; round < 3; ++round) {
        const int result = platform::unlessOutOfMemory(-1, [&] { return descend(500); });
        total += result + a * 1000 + b * 100 + c * 10 + d;
        a += 1, b += 1, c += 1, d += 1;
    }
    return total;
}

void withoutPoint() {
    runtime::outOfMemory();
}

}  // namespace recovery_subject
