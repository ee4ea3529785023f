// What the reliability tests and the soak program share: word lists with known entries, the
// program's four stored values as bytes, a stored index composed for a list without running the
// program, and pressing a button of the running program while watching for its message box.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/lexoria_driver.h"
#include "vocab/rotation.h"
#include "vocab/wordlist.h"

namespace reliability {

// Entry i: "word=word<i>", "def=definition <i>", "ex=example <i>", numbered from 0.
std::string wordList(int entries, int firstNumber = 0);
std::string definitionOf(int number);

// The entries of a file as the program reads them, in file order (at most 4000).
std::vector<TwordDef> entriesOf(const std::string& path);
bool contains(const std::vector<TwordDef>& entries, const std::string& definition);

// One registry value as stored: absent, or a type and bytes.
struct Tvalue {
    bool present = false;
    DWORD type = REG_BINARY;
    std::vector<unsigned char> bytes;

    bool operator==(const Tvalue& other) const {
        return present == other.present &&
               (!present || (type == other.type && bytes == other.bytes));
    }
};
Tvalue binaryValue(const std::vector<unsigned char>& bytes);
Tvalue readValue(const char* name);
bool writeValue(const char* name, const Tvalue& value);  // absent: deletes the value

// The program's four values. names[i] belongs to values[i].
struct TstoredValues {
    static const int count = 4;
    static const char* const names[count];
    Tvalue values[count];
    Tvalue& operator[](const char* name);
};
enum { offsetsIndex, stateIndex, timeIndex, startupIndex };

// "Offsets" and "Modification Time" as the program would store them for the file, with the
// given rotation state and window settings record.
TstoredValues intactValues(const std::string& listPath, const RotationState& state,
                           const std::vector<unsigned char>& startup);
TstoredValues readAllValues();
bool writeAllValues(const TstoredValues& stored);

std::vector<unsigned char> stateBytes(const RotationState& state);
bool stateFrom(const Tvalue& value, RotationState& state);
bool lastWriteTime(const std::string& path, FILETIME& time);
// Moves the file's last-write time on by the given seconds, as another edit would.
bool touchLater(const std::string& path, int seconds);

// What the program did after it was started or after a button press.
enum class Tresponse { windowReady, boxShown, exited, timedOut };
const char* nameOf(Tresponse response);

// Waits until the program's main window is ready (visible, with pane text), or it shows a box,
// or it ends.
Tresponse settleAfterStart(lexoria_test::LexoriaProcess& program, HWND& mainWindow,
                           DWORD timeoutMs = 10000);

// Presses a button of the main window as a click would, synchronously, from a thread of its
// own, so a message box the press opens does not block the caller. settle() then tells whether
// the press was handled, opened a box, or ended the program.
class TbuttonPress {
public:
    TbuttonPress(HWND mainWindow, int id, DWORD timeoutMs);
    ~TbuttonPress();  // waits for the sending thread (bounded by its time-out)
    TbuttonPress(const TbuttonPress&) = delete;
    TbuttonPress& operator=(const TbuttonPress&) = delete;
    Tresponse settle(lexoria_test::LexoriaProcess& program, DWORD timeoutMs = 10000);

private:
    static DWORD WINAPI send(void* self);
    HWND button;
    DWORD timeout;
    HANDLE thread = nullptr;
};

// The program's visible message box, if any.
HWND visibleBox(const lexoria_test::LexoriaProcess& program);

// Screen placement checks.
struct Tplacement {
    RECT outer;
    bool topmost;
};
Tplacement placementOf(HWND window);

}  // namespace reliability
