// File names as the Windows 95/98 file system treats them: wildcard matching for
// FindFirstFile and the 8.3 names it gives every long name. All texts are ANSI (1252) and
// compared without regard to case.
#pragma once

#include <set>
#include <string>

namespace platform::host {

// Wildcard match of one name, with the rules of FindFirstFile:
//   '*'  any run of characters, dots included ("*.*" and "*" match every name)
//   '?'  any one character but '.'; at the end of the name or at a '.', none
//        ("a??" matches "a" and "ab", "a?.txt" matches "a.txt", "?????" not "a.b.c")
//   '.'  a '.' of the name, or the end of a name that has no more characters
//        ("*.*" matches "README", "abc.*" matches "abc")
//   a pattern that ends with '.' matches only names without any '.' ("*." lists the names
//   without an extension)
bool matchesWildcard(const std::string& pattern, const std::string& name);

// True when `name` is a valid 8.3 name as the file system stores it: 1 to 8 characters, and
// optionally '.' and 1 to 3 more, upper case, none of the characters 8.3 names exclude
// (space, + , ; = [ ] and those no name may have).
bool isShortName(const std::string& name);

// The 8.3 name Windows 95/98 gives `longName` in a folder whose 8.3 names are `taken`
// (upper case): the upper-case basis name when the long name converts without loss and the
// name is free ("readme.txt" -> "README.TXT"), otherwise the basis cut to make room for
// "~n" with the smallest free n ("Long File Name.text" -> "LONGFI~1.TEX").
std::string makeShortName(const std::string& longName, const std::set<std::string>& taken);

}  // namespace platform::host
