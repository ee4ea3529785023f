// Included ahead of every C++ source of the Windows trees (see the root CMakeLists.txt): lets each
// source instantiate the standard library's templates it uses, std::string and std::wstring
// above all, instead of calling the copies compiled into the static libstdc++. Those come as one
// object per class holding every member, each with unwind tables that keep it linked in whether
// it is called or not: about 60 KB of Lexoria.exe for the few members the program calls.
#pragma once

#include <bits/c++config.h>

#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE 0
