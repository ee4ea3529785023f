// Fuzz target for findGroupItem, the reader of Program Manager's group information.
// Input: one byte that picks the group name asked for and the program's path (or none), then
// the group information itself, copied into a heap block of exactly its size so that reading a
// byte past it stops the run. What the result should be for each form of line is the business
// of the unit tests; here any bytes and any length must be read safely and consistently.
#include <cstdint>
#include <cstring>
#include <memory>

#include "fuzz/fuzz_check.h"
#include "options/groupitem.h"

namespace {

const char* const itemName = "Lexoria";
const char* const groupNames[] = {"Startup", "StartUp", "", "Start\"up"};
const char* const programPaths[] = {"C:\\Program Files\\Lexoria\\Lexoria.exe", "c:\\lexoria.exe",
                                    "", "C:\\a,b \"c\"\\Lexoria.exe"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const char* group = groupNames[data[0] & 3];
    const char* path = (data[0] & 0x10) ? nullptr : programPaths[(data[0] >> 2) & 3];
    const size_t length = size - 1;
    std::unique_ptr<char[]> info(new char[length ? length : 1]);
    if (length) std::memcpy(info.get(), data + 1, length);

    const TgroupItemStatus found = findGroupItem(info.get(), length, group, itemName, path);
    // The text ends at its first zero byte: nothing after it counts.
    const void* zero = std::memchr(info.get(), '\0', length);
    const size_t text = zero ? static_cast<const char*>(zero) - info.get() : length;
    FUZZ_CHECK(findGroupItem(info.get(), text, group, itemName, path) == found);
    // After a failed request there is no information at all, whatever length is passed.
    FUZZ_CHECK(findGroupItem(nullptr, length, group, itemName, path) ==
               TgroupItemStatus::unreadable);
    return 0;
}
