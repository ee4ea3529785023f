// An output file that replaces its target only once it has been written completely, without
// ever writing through a file or link that someone else placed beside the target.
#pragma once

#include <cstddef>
#include <string>

// write() creates a file of a fresh, unguessable name in the target's folder and fills it;
// commit() moves it over the target. A failure at any step leaves an existing target as it was,
// and the temporary file is removed unless committed.
class TpendingOutput {
public:
    explicit TpendingOutput(const std::string& target);
    ~TpendingOutput();
    TpendingOutput(const TpendingOutput&) = delete;
    TpendingOutput& operator=(const TpendingOutput&) = delete;

    // Empty until write() has created the file.
    const std::string& temporaryPath() const { return temporary; }
    bool write(const void* bytes, std::size_t size);
    bool write(const std::string& bytes) { return write(bytes.data(), bytes.size()); }
    bool commit();

private:
    std::string target;
    std::string temporary;
    bool committed = false;
};
