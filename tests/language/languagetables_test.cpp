// Every language file in src/resources/languages against English: the same texts (no id missing,
// none extra, none empty), the same parts to fill in, dialogs with the same controls in the same
// tab order, its tag as its file name, and mnemonics that are unique within each window.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>

namespace {

namespace fs = std::filesystem;
const fs::path resources = LEXORIA_RESOURCES_DIR;
// The files are read as UTF-8, and letter case folds beyond ASCII (Cyrillic, Turkish) when the
// mnemonics are compared.
const bool unicodeCase = std::setlocale(LC_CTYPE, "C.UTF-8") != nullptr;

// UTF-8 as code points, decoded in the locale set above; a file that is not UTF-8 fails.
std::u32string decoded(const std::string& bytes) {
    std::wstring wide(bytes.size() + 1, L'\0');
    const size_t length = std::mbstowcs(&wide[0], bytes.c_str(), wide.size());
    EXPECT_NE(size_t(-1), length) << "not UTF-8";
    wide.resize(length == size_t(-1) ? 0 : length);
    return std::u32string(wide.begin(), wide.end());
}

// One control of a dialog template: its caption, its id's name and its class.
struct Tcontrol {
    std::u32string text;
    std::string id, className;
};

struct TlanguageFile {
    std::map<std::string, std::u32string> texts;           // by IDS_ name
    std::map<std::string, std::vector<Tcontrol>> dialogs;  // by IDD_ name
    std::map<std::string, std::u32string> dialogCaptions;
};

std::string ascii(const std::u32string& text) { return std::string(text.begin(), text.end()); }

// A quoted text of the script as it shows: "" is one quote, \n a line end.
std::u32string unquoted(const std::string& text) {
    return decoded(std::regex_replace(std::regex_replace(text, std::regex("\"\""), "\""),
                                      std::regex(R"(\\n)"), "\n"));
}

// The statements the checks need, each on one line as every language file writes them: a text of
// the string table, a dialog's first line and its caption, a control's caption, id and class.
TlanguageFile parse(const fs::path& file) {
    const std::string quoted = R"x("((?:[^"]|"")*)")x";
    const std::regex text(R"(^\s*(IDS_\w+)\s+)" + quoted), dialog(R"(^(\w+)\s+DIALOG(EX)?\b)"),
        caption("^CAPTION\\s+" + quoted),
        control(R"(^\s*CONTROL\s+)" + quoted + R"x(\s*,\s*([\w-]+)\s*,\s*"(\w+)")x");
    TlanguageFile parsed;
    std::ifstream in(file, std::ios::binary);
    std::string name;
    std::smatch m;
    for (std::string line; std::getline(in, line);) {
        if (std::regex_search(line, m, text)) parsed.texts[m[1]] = unquoted(m[2]);
        else if (std::regex_search(line, m, dialog)) parsed.dialogs[name = m[1]];
        else if (std::regex_search(line, m, caption)) parsed.dialogCaptions[name] = unquoted(m[1]);
        else if (std::regex_search(line, m, control))
            parsed.dialogs[name].push_back({unquoted(m[1]), m[2], m[3]});
    }
    return parsed;
}

const TlanguageFile& english() {
    static const TlanguageFile file = [] {
        TlanguageFile english = parse(resources / "languages" / "en.rc");
        for (const char* dialogs : {"about.rc", "options.rc"}) {
            TlanguageFile part = parse(resources / dialogs);
            english.dialogs.insert(part.dialogs.begin(), part.dialogs.end());
            english.dialogCaptions.insert(part.dialogCaptions.begin(), part.dialogCaptions.end());
        }
        return english;
    }();
    return file;
}

// English too: its own tag, reading order and mnemonics are checked like every other's.
TlanguageFile load(const fs::path& file) { return file.stem() == "en" ? english() : parse(file); }
std::vector<fs::path> languageFiles() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(resources / "languages"))
        if (entry.path().extension() == ".rc") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::multiset<std::u32string> parts(const std::u32string& text) {
    std::multiset<std::u32string> found;
    for (size_t at = 0; at + 1 < text.size(); ++at)
        if (text[at] == U'%' && text[at + 1] >= U'1' && text[at + 1] <= U'9')
            found.insert(text.substr(at, 2));
    return found;
}

// The mnemonic of a caption, lowered; 0 for none ("&&" is a plain ampersand).
char32_t mnemonic(const std::u32string& caption) {
    for (size_t at = 0; at + 1 < caption.size(); ++at) {
        if (caption[at] != U'&') continue;
        if (caption[at + 1] != U'&') return static_cast<char32_t>(std::towlower(caption[at + 1]));
        ++at;
    }
    return 0;
}

// The captions of one window that may show at one time: each slot lists the texts a control
// can take in turn (the second button's "&Show" and "&Next Word", the four Startup captions).
using Tslots = std::vector<std::vector<std::u32string>>;

Tslots mainWindowSlots(const TlanguageFile& file) {
    auto text = [&](const char* id) { return file.texts.count(id) ? file.texts.at(id) : U""; };
    return {{text("IDS_EXIT")},  {text("IDS_NEXT_WORD"), text("IDS_SHOW")},
            {text("IDS_AGAIN")}, {text("IDS_OPTIONS")},
            {text("IDS_HELP")},  {text("IDS_ABOUT")}};
}

Tslots optionsSlots(const TlanguageFile& file) {
    Tslots slots;
    if (!file.dialogs.count("IDD_OPTIONS")) return slots;
    for (const Tcontrol& control : file.dialogs.at("IDD_OPTIONS")) {
        slots.push_back({control.text});
        if (control.id != "IDC_STARTUP") continue;
        for (const char* id : {"IDS_ADD_TO_FOLDER", "IDS_REMOVE_FROM_FOLDER", "IDS_ADD_TO_GROUP",
                               "IDS_REMOVE_FROM_GROUP"})
            if (file.texts.count(id)) slots.back().push_back(file.texts.at(id));
    }
    return slots;
}

// Every caption that has a mnemonic in English has one here, and no two slots share one.
void expectMnemonics(const char* window, const Tslots& slots, const Tslots& englishSlots) {
    SCOPED_TRACE(window);
    ASSERT_EQ(englishSlots.size(), slots.size());
    std::map<char32_t, size_t> owner;
    for (size_t slot = 0; slot < slots.size(); ++slot) {
        for (size_t k = 0; k < slots[slot].size(); ++k) {
            const char32_t key = mnemonic(slots[slot][k]);
            const bool englishHasOne =
                k < englishSlots[slot].size() && mnemonic(englishSlots[slot][k]) != 0;
            EXPECT_EQ(englishHasOne, key != 0) << "caption " << ascii(englishSlots[slot][0]);
            if (!key) continue;
            auto [at, added] = owner.emplace(key, slot);
            EXPECT_TRUE(added || at->second == slot)
                << "mnemonic U+" << std::hex << key << " twice, in the slots of "
                << ascii(englishSlots[at->second][0]) << " and " << ascii(englishSlots[slot][0]);
        }
    }
}

// The names only one of English's table and the file's holds: " -missing +extra".
template <typename Tmap>
std::string differentNames(const Tmap& english, const Tmap& file) {
    std::string names;
    for (const auto& entry : english)
        if (!file.count(entry.first)) names += " -" + entry.first;
    for (const auto& entry : file)
        if (!english.count(entry.first)) names += " +" + entry.first;
    return names;
}

class LanguageTables : public testing::TestWithParam<fs::path> {};

TEST_P(LanguageTables, HoldEveryTextOfEnglishAndNoOther) {
    const TlanguageFile file = load(GetParam());
    ASSERT_EQ("", differentNames(english().texts, file.texts));
    for (const auto& [id, text] : english().texts) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(file.texts.at(id).empty());
        EXPECT_EQ(parts(text), parts(file.texts.at(id))) << "the parts filled in differ";
    }
    EXPECT_EQ(GetParam().stem().string(), ascii(file.texts.at("IDS_LANGUAGE_TAG")));
    const std::u32string order = file.texts.at("IDS_READING_ORDER");
    EXPECT_TRUE(order == U"ltr" || order == U"rtl");
}

TEST_P(LanguageTables, LayOutBothDialogsWithEnglishsControlsInItsTabOrder) {
    const TlanguageFile file = load(GetParam());
    ASSERT_EQ("", differentNames(english().dialogs, file.dialogs));
    for (const auto& [name, controls] : english().dialogs) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(file.dialogCaptions.at(name).empty());
        const std::vector<Tcontrol>& translated = file.dialogs.at(name);
        ASSERT_EQ(controls.size(), translated.size());
        for (size_t i = 0; i < controls.size(); ++i) {
            EXPECT_EQ(controls[i].id, translated[i].id) << "control " << i;
            EXPECT_STRCASEEQ(controls[i].className.c_str(), translated[i].className.c_str())
                << controls[i].id;
            EXPECT_TRUE(!controls[i].text.empty() || translated[i].text.empty()) << controls[i].id;
        }
    }
}

TEST_P(LanguageTables, GiveEachWindowUniqueMnemonics) {
    const TlanguageFile file = load(GetParam());
    expectMnemonics("main window", mainWindowSlots(file), mainWindowSlots(english()));
    expectMnemonics("options", optionsSlots(file), optionsSlots(english()));
}

INSTANTIATE_TEST_SUITE_P(, LanguageTables, testing::ValuesIn(languageFiles()),
                         [](const testing::TestParamInfo<fs::path>& file) {
                             std::string name = file.param.stem().string();
                             name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                             return name;
                         });

}  // namespace
