// The host flavour of the out-of-memory boundary: every export, window procedure and back-end
// that maps a failed allocation to its error result relies on these answers.
#include "platform/out_of_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <string>
#include <vector>

namespace {

TEST(OutOfMemoryTest, FailedAllocationGivesFallbackAndKeepsWhatWasDone) {
    struct Case {
        const char* name;
        bool fails;
        void (*allocate)();
    };
    const Case cases[] = {
        {"allocation succeeds", false,
         [] {
             std::vector<char> made(64);
             made.push_back('\0');
         }},
        {"operator new fails", true, [] { throw std::bad_alloc(); }},
        {"container refuses its length", true,
         [] {
             std::vector<std::uint64_t> too;
             too.reserve(too.max_size() + 1);
         }},
        {"string refuses its length", true,
         [] {
             std::string too;
             too.resize(too.max_size() + 1);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int steps = 0;
        const std::uint32_t result = platform::unlessOutOfMemory(std::uint32_t{8}, [&] {
            ++steps;
            c.allocate();
            ++steps;
            return std::uint32_t{0};
        });
        EXPECT_EQ(result, c.fails ? 8u : 0u);
        EXPECT_EQ(steps, c.fails ? 1 : 2);
        EXPECT_EQ(platform::completesInMemory([&] { c.allocate(); }), !c.fails);
    }
}

}  // namespace
