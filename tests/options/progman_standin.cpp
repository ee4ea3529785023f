// A stand-in for Program Manager's DDE service "progman", for the tests. While it runs it wins
// every connection to that service. It works in the folder named on its command line:
//   log.txt     it appends one line per event: CONNECT, EXECUTE <command>, REQUEST <item>,
//               DISCONNECT
//   reply.txt   the bytes it answers any request with; no file, no answer
//   refuse.txt  command prefixes, one a line, whose commands it refuses
// The test ends it by closing its window "Lexoria Progman Stand-in"; it ends itself after two
// minutes in case nobody does.
#include <windows.h>
#include <ddeml.h>

#include <cstdio>
#include <string>

namespace {
const char* const windowTitle = "Lexoria Progman Stand-in";
const UINT lifetimeMs = 120000;

DWORD instance = 0;
HSZ serviceName = nullptr;
std::string folder;

std::string fileIn(const char* name) { return folder + "\\" + name; }

bool readAll(const std::string& path, std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    char chunk[4096];
    size_t got;
    bytes.clear();
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    std::fclose(file);
    return true;
}

// Opened and closed per line, so the test can read the log at any moment.
void record(const std::string& line) {
    FILE* file = std::fopen(fileIn("log.txt").c_str(), "ab");
    if (!file) return;
    std::fputs((line + "\n").c_str(), file);
    std::fclose(file);
}

bool refused(const std::string& command) {
    std::string list;
    if (!readAll(fileIn("refuse.txt"), list)) return false;
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find('\n', start);
        if (end == std::string::npos) end = list.size();
        const std::string prefix = list.substr(start, end - start);
        if (!prefix.empty() && command.compare(0, prefix.size(), prefix) == 0) return true;
        start = end + 1;
    }
    return false;
}

std::string textOf(HDDEDATA data) {
    const DWORD size = DdeGetData(data, nullptr, 0, 0);
    std::string text(size, '\0');
    if (size) DdeGetData(data, reinterpret_cast<BYTE*>(&text[0]), size, 0);
    return text.c_str();
}

std::string nameOf(HSZ name) {
    char text[1024] = "";
    DdeQueryStringA(instance, name, text, sizeof text, CP_WINANSI);
    return text;
}

HDDEDATA answerRequest(UINT format, HSZ item) {
    record("REQUEST " + nameOf(item));
    std::string reply;
    if (format != CF_TEXT || !readAll(fileIn("reply.txt"), reply)) return nullptr;
    return DdeCreateDataHandle(instance, reinterpret_cast<BYTE*>(&reply[0]),
                               static_cast<DWORD>(reply.size()), 0, item, CF_TEXT, 0);
}

HDDEDATA CALLBACK serve(UINT type, UINT format, HCONV, HSZ topic, HSZ item, HDDEDATA data,
                        ULONG_PTR, ULONG_PTR) {
    switch (type) {
    case XTYP_CONNECT:
        return reinterpret_cast<HDDEDATA>(DdeCmpStringHandles(topic, serviceName) == 0);
    case XTYP_CONNECT_CONFIRM:
        record("CONNECT");
        return nullptr;
    case XTYP_EXECUTE: {
        const std::string command = textOf(data);
        record("EXECUTE " + command);
        return reinterpret_cast<HDDEDATA>(refused(command) ? DDE_FNOTPROCESSED : DDE_FACK);
    }
    case XTYP_REQUEST:
        return answerRequest(format, item);
    case XTYP_DISCONNECT:
        record("DISCONNECT");
        return nullptr;
    }
    return nullptr;
}

LRESULT CALLBACK controlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) DestroyWindow(window);
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND createControlWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = controlProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "LexoriaProgmanStandIn";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA(windowClass.lpszClassName, windowTitle, WS_POPUP, 0, 0, 1, 1,
                                nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window) SetTimer(window, 1, lifetimeMs, nullptr);
    return window;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    folder = argv[1];
    if (DdeInitializeA(&instance, serve, APPCLASS_STANDARD | CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS, 0) != DMLERR_NO_ERROR)
        return 3;
    serviceName = DdeCreateStringHandleA(instance, "progman", CP_WINANSI);
    if (!serviceName || !DdeNameService(instance, serviceName, nullptr, DNS_REGISTER)) return 4;
    // The window appears only once the service is registered: the test waits for it.
    if (!createControlWindow()) return 5;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    DdeNameService(instance, serviceName, nullptr, DNS_UNREGISTER);
    DdeFreeStringHandle(instance, serviceName);
    DdeUninitialize(instance);
    return 0;
}
