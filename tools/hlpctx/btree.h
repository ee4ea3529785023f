// The B+ trees that help files use for their directory and their look-up tables: reading one
// with every link and key order checked, and writing a sorted set of entries as a fresh tree.
#pragma once

#include "bytes.h"

#include <cstdint>
#include <string>
#include <vector>

// How the keys of a tree are stored and ordered.
enum class TkeyKind {
    text,           // zero-terminated string, ordered byte by byte (the directory)
    number,         // signed 32-bit value, ordered as signed (|CONTEXT, as viewers search it)
    unsignedNumber  // the same values ordered as unsigned, to recognise trees written that way
};

struct TbtreeEntry {
    std::string text;         // the key of a text tree
    std::int32_t number = 0;  // the key of a number tree
    Tbytes value;             // the rest of the leaf entry, fixed size per tree
};

// Everything about a tree except its pages: what a rewrite keeps from the original.
struct TbtreeLayout {
    std::uint16_t flags = 0x0002;
    std::uint16_t pageSize = 1024;
    std::string structure;  // the format letters, at most 16 bytes
    TkeyKind keyKind = TkeyKind::text;
    std::size_t valueSize = 4;
};

struct Tbtree {
    TbtreeLayout layout;
    std::vector<TbtreeEntry> entries;  // in key order
};

bool keyLess(TkeyKind kind, const TbtreeEntry& a, const TbtreeEntry& b);

// Reads the tree that fills `content`. The caller sets keyKind and valueSize in `tree.layout`;
// the rest comes from the tree's header. Every page must be reached exactly once, every key
// must lie in the range its index entry promises, and the leaf chain must run in key order,
// so that any reader, walking or searching, finds the same entries.
bool readBTree(const Tbytes& content, Tbtree& tree, std::string& error);

// Writes `tree` as a complete tree: leaves packed in key order, index levels above them.
// The entries must already be sorted and unique.
bool writeBTree(const Tbtree& tree, Tbytes& content, std::string& error);
