// Numeric help contexts: the viewer's hash of context strings, the |CONTEXT look-up that turns
// a context string into a topic offset, and the |CTXOMAP table that maps numbers to topics.
#pragma once

#include "bytes.h"
#include "helpfile.h"

#include <cstdint>
#include <string>
#include <vector>

// One NUMBER=CONTEXT-STRING request from the command line.
struct TmapRequest {
    std::uint32_t number = 0;
    std::string context;
};

// One |CTXOMAP record.
struct TcontextMapEntry {
    std::uint32_t number = 0;
    std::uint32_t topicOffset = 0;
};

// The hash under which |CONTEXT files a context string. Letters count without regard to case.
std::uint32_t contextHash(const std::string& context);

// Parses "NUMBER=CONTEXT-STRING", NUMBER decimal from 0 to 4294967295.
bool parseMapRequest(const std::string& text, TmapRequest& request, std::string& error);

// Looks each context string up in |CONTEXT and returns the records in number order.
bool resolveContextMap(const ThelpFile& help, const std::vector<TmapRequest>& requests,
                       std::vector<TcontextMapEntry>& entries, std::string& error);

Tbytes encodeContextMap(const std::vector<TcontextMapEntry>& entries);
bool decodeContextMap(const Tbytes& content, std::vector<TcontextMapEntry>& entries,
                      std::string& error);

// The whole job on an image in memory: parse, resolve, put |CTXOMAP in place of any earlier
// one, lay the file out again, and read the result back to prove that every number reaches
// its topic and every other internal file is unchanged. `output` is empty on failure.
bool rewriteWithContextMap(const Tbytes& input, const std::vector<TmapRequest>& requests,
                           Tbytes& output, std::string& error);
