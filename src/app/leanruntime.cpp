// Lexoria.exe's own definitions of a few C++ runtime entry points, which keep the runtime's much
// larger ones out of the program. The linker takes a definition from here first and never loads
// the library's; if the library's were needed as well, linking would fail with a duplicate
// definition instead of going wrong quietly. tests/app checks the stripped program for what these
// keep out, so that a new compiler that brings it back in does not go unnoticed.
#include <cstdlib>
#include <exception>
#include <new>

// The default handler for an exception that nothing catches prints the exception's type to a
// console this program does not have, and takes the whole name demangler in to do it (about
// 75 KB of the stripped program). The ending, abort(), is the same.
namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx

// What the standard strings and containers call when they must fail. The library's versions build
// logic_error exceptions, whose messages live in a second kind of string, and so take in a second
// copy of the whole string class (about 54 KB). Only std::bad_alloc is ever caught in this
// program; any of the others would end it through std::terminate, as these do directly.
namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }
// An array too long to allocate is out of memory all the same.
void __throw_bad_array_new_length() { throw bad_alloc(); }
void __throw_length_error(const char*) { terminate(); }
void __throw_logic_error(const char*) { terminate(); }
void __throw_out_of_range_fmt(const char*, ...) { terminate(); }

}  // namespace std
