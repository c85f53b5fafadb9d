// What a module's entry point does around the program or the library: the static
// constructors before, the exit list and the static destructors after.
#pragma once

namespace runtime {

// Runs the module's static constructors, in the order the compiler and linker laid them out.
void runConstructors();

// Runs the functions registered with atexit (function-local statics' destructors among them)
// in reverse order of registration, then the static destructors. Runs once; later calls do
// nothing.
void runDestructors();

}  // namespace runtime
