// A stand-in for Program Manager's DDE service "progman". In its current folder: log.txt gets one
// line per event (CONNECT, EXECUTE <command>, REQUEST <item>, DISCONNECT); reply.txt answers every
// request (none: no answer); refuse.txt holds a prefix of commands it refuses. Closing its window
// ends it, as do two minutes.
#include <windows.h>
#include <ddeml.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {
DWORD instance = 0;
HSZ serviceName = nullptr;

std::string contents(const char* name) {
    std::ifstream file(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Opened and closed per line, so the test can read the log at any moment.
void record(const std::string& line) {
    std::ofstream("log.txt", std::ios::app | std::ios::binary) << line << "\n";
}

bool refused(const std::string& command) {
    const std::string prefix = contents("refuse.txt");
    return !prefix.empty() && command.compare(0, prefix.size(), prefix) == 0;
}

HDDEDATA answerRequest(UINT format, HSZ item) {
    char name[1024] = "";
    DdeQueryStringA(instance, item, name, sizeof name, CP_WINANSI);
    record(std::string("REQUEST ") + name);
    std::string reply = contents("reply.txt");
    if (format != CF_TEXT || reply.empty()) return nullptr;
    return DdeCreateDataHandle(instance, reinterpret_cast<BYTE*>(&reply[0]),
                               static_cast<DWORD>(reply.size()), 0, item, CF_TEXT, 0);
}

HDDEDATA CALLBACK serve(UINT type, UINT format, HCONV, HSZ topic, HSZ item, HDDEDATA data,
                        ULONG_PTR, ULONG_PTR) {
    switch (type) {
    case XTYP_CONNECT:
        return reinterpret_cast<HDDEDATA>(DdeCmpStringHandles(topic, serviceName) == 0);
    case XTYP_CONNECT_CONFIRM: record("CONNECT"); return nullptr;
    case XTYP_EXECUTE: {
        char command[1024] = "";  // ends at its zero, as the client sends it
        DdeGetData(data, reinterpret_cast<BYTE*>(command), sizeof command - 1, 0);
        record(std::string("EXECUTE ") + command);
        return reinterpret_cast<HDDEDATA>(refused(command) ? DDE_FNOTPROCESSED : DDE_FACK);
    }
    case XTYP_REQUEST: return answerRequest(format, item);
    case XTYP_DISCONNECT: record("DISCONNECT"); return nullptr;
    }
    return nullptr;
}

// Closing the window, or its timer running out, ends the program.
LRESULT CALLBACK controlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) DestroyWindow(window);
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

int main() {
    const DWORD flags = APPCLASS_STANDARD | CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS;
    if (DdeInitializeA(&instance, serve, flags, 0) != DMLERR_NO_ERROR) return 3;
    serviceName = DdeCreateStringHandleA(instance, "progman", CP_WINANSI);
    if (!serviceName || !DdeNameService(instance, serviceName, nullptr, DNS_REGISTER)) return 4;
    // The window, which the test waits for, comes once the service is registered.
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = controlProc;
    windowClass.lpszClassName = "LexoriaProgmanStandIn";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA(windowClass.lpszClassName, "Lexoria Progman Stand-in", WS_POPUP, 0,
                                0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (!window || !SetTimer(window, 1, 120000, nullptr)) return 5;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    DdeNameService(instance, serviceName, nullptr, DNS_UNREGISTER);
    DdeFreeStringHandle(instance, serviceName);
    DdeUninitialize(instance);
    return 0;
}
