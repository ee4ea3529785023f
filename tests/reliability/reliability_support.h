// What the two reliability tables share: the definitions a numbered word list may show and the
// message the program shows when it cannot load its list.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "support/lexoria_driver.h"

namespace reliability {

inline std::vector<std::string> definitions(int entries, int first = 0) {
    std::vector<std::string> all;
    for (int i = first; i < first + entries; ++i) all.push_back(lexoriaTest::definitionOf(i));
    return all;
}

inline bool contains(const std::vector<std::string>& all, const std::string& shown) {
    return std::find(all.begin(), all.end(), shown) != all.end();
}

inline std::string loadMessage(const std::string& listPath) {
    return "Unable to load word list (" + listPath + ").";
}

}  // namespace reliability
