#include <doctest.h>
#include <shlobj.h>
#include <string.h>

#include <string>
#include <vector>

#include "actions/progman.h"
#include "testutil.h"

namespace {

// A DDE server of the test suite, on a thread of its own, that accepts the
// topic "PROGMAN" under its own service name and records what reaches it.
struct TestServer {
    enum Mode { Accept, SlowAccept, HangUp };
    const char *service;
    Mode mode = Accept;
    HANDLE thread = nullptr;
    DWORD threadId = 0;
    HANDLE ready = nullptr;
    bool registered = false;
    CRITICAL_SECTION lock;
    std::vector<std::string> events; // "connect", "execute", "disconnect"
    std::vector<std::string> commands; // the exact bytes of each execute

    explicit TestServer(const char *name) : service(name)
    {
        InitializeCriticalSection(&lock);
        ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread = CreateThread(nullptr, 0, Run, this, 0, &threadId);
        WaitForSingleObject(ready, 10000);
    }
    ~TestServer()
    {
        PostThreadMessageA(threadId, WM_QUIT, 0, 0);
        WaitForSingleObject(thread, 10000);
        CloseHandle(thread);
        CloseHandle(ready);
        DeleteCriticalSection(&lock);
    }
    void Record(const char *event, const std::string *bytes = nullptr)
    {
        EnterCriticalSection(&lock);
        events.push_back(event);
        if (bytes)
            commands.push_back(*bytes);
        LeaveCriticalSection(&lock);
    }
    std::vector<std::string> Events()
    {
        EnterCriticalSection(&lock);
        std::vector<std::string> copy = events;
        LeaveCriticalSection(&lock);
        return copy;
    }
    // The client's disconnect may reach the server thread after the call
    // returned: waits until count events are recorded.
    std::vector<std::string> EventsWhenCount(size_t count)
    {
        for (int tries = 0; tries < 500 && Events().size() < count; tries++)
            Sleep(10);
        return Events();
    }

    static TestServer *current;
    static DWORD inst;
    static HDDEDATA CALLBACK Callback(UINT type, UINT, HCONV conv, HSZ hsz1, HSZ, HDDEDATA data, ULONG_PTR,
                                      ULONG_PTR)
    {
        switch (type) {
        case XTYP_CONNECT: {
            char topic[64] = "";
            DdeQueryStringA(inst, hsz1, topic, sizeof topic, CP_WINANSI);
            return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(lstrcmpiA(topic, "PROGMAN") == 0));
        }
        case XTYP_CONNECT_CONFIRM:
            current->Record("connect");
            return nullptr;
        case XTYP_EXECUTE: {
            DWORD size = DdeGetData(data, nullptr, 0, 0);
            std::string bytes(size, '\0');
            DdeGetData(data, reinterpret_cast<LPBYTE>(&bytes[0]), size, 0);
            current->Record("execute", &bytes);
            if (current->mode == SlowAccept)
                Sleep(2500);
            if (current->mode == HangUp)
                DdeDisconnect(conv);
            return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FACK));
        }
        case XTYP_DISCONNECT:
            current->Record("disconnect");
            return nullptr;
        }
        return nullptr;
    }
    static DWORD WINAPI Run(void *arg)
    {
        TestServer *server = static_cast<TestServer *>(arg);
        current = server;
        inst = 0;
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE); // the thread's queue, for WM_QUIT
        if (DdeInitializeA(&inst, Callback, APPCLASS_STANDARD | CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS,
                           0) == DMLERR_NO_ERROR) {
            HSZ name = DdeCreateStringHandleA(inst, server->service, CP_WINANSI);
            server->registered = DdeNameService(inst, name, nullptr, DNS_REGISTER) != nullptr;
            SetEvent(server->ready);
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            DdeNameService(inst, name, nullptr, DNS_UNREGISTER);
            DdeFreeStringHandle(inst, name);
            DdeUninitialize(inst);
        }
        SetEvent(server->ready);
        return 0;
    }
};
TestServer *TestServer::current;
DWORD TestServer::inst;

std::string WithZero(const std::string &s)
{
    return s + std::string(1, '\0');
}

// True once a server of that name accepts a conversation on "PROGMAN".
bool ServerAnswers(const char *service)
{
    DWORD inst = 0;
    if (DdeInitializeA(&inst, DDECallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
        return false;
    HSZ hszService = DdeCreateStringHandleA(inst, service, CP_WINANSI);
    HSZ hszTopic = DdeCreateStringHandleA(inst, "PROGMAN", CP_WINANSI);
    HCONV conv = DdeConnect(inst, hszService, hszTopic, nullptr);
    if (conv)
        DdeDisconnect(conv);
    DdeFreeStringHandle(inst, hszService);
    DdeFreeStringHandle(inst, hszTopic);
    DdeUninitialize(inst);
    return conv != nullptr;
}

std::string ProgramsFolder()
{
    char dir[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, 0, dir);
    return dir;
}

}

TEST_CASE("SNDPRG delivers the script's command byte for byte, with its terminating zero")
{
    SessionFixture fixture;
    TestServer server("KBTESTPM");
    REQUIRE(server.registered);

    const std::string commands[] = {
        // A command that was quoted in the script: blanks and quotes inside.
        "[AddItem(\"C:\\Program Files\\My App\\app.exe\",My App, C:\\APP\\app.ico)]",
        // Shift-JIS bytes pass unchanged between two ANSI partners.
        "[CreateGroup(\x83\x65\x83\x58\x83\x67)]",
        std::string(TextMax, 'x'),
    };
    for (const std::string &cmd : commands) {
        CAPTURE(cmd);
        size_t before = server.Events().size();
        SendDdeCommand("KBTESTPM", "PROGMAN", cmd.c_str());
        std::vector<std::string> events = server.EventsWhenCount(before + 3);
        REQUIRE(events.size() == before + 3);
        CHECK(events[before] == "connect");
        CHECK(events[before + 1] == "execute");
        CHECK(events[before + 2] == "disconnect");
        CHECK(server.commands.back() == WithZero(cmd));
        CHECK(session->hProgmanConv == nullptr);
    }
}

TEST_CASE("Two SNDPRG lines open and close two separate conversations")
{
    SessionFixture fixture;
    TestServer server("KBTESTPM");
    REQUIRE(server.registered);
    SendDdeCommand("KBTESTPM", "PROGMAN", "[ShowGroup(A,1)]");
    SendDdeCommand("KBTESTPM", "PROGMAN", "[ShowGroup(B,1)]");
    std::vector<std::string> events = server.EventsWhenCount(6);
    const std::vector<std::string> expected = { "connect", "execute", "disconnect",
                                                "connect", "execute", "disconnect" };
    CHECK(events == expected);
    REQUIRE(server.commands.size() == 2);
    CHECK(server.commands[0] == WithZero("[ShowGroup(A,1)]"));
    CHECK(server.commands[1] == WithZero("[ShowGroup(B,1)]"));
}

TEST_CASE("SNDPRG goes on silently when no server answers, the server hangs up or is slow")
{
    SessionFixture fixture;
    SUBCASE("no server of that name")
    {
        SendDdeCommand("KBNOSERVER", "PROGMAN", "[CreateGroup(X)]");
        CHECK(session->hProgmanConv == nullptr);
    }
    SUBCASE("a topic the server refuses")
    {
        TestServer server("KBTESTPM");
        REQUIRE(server.registered);
        SendDdeCommand("KBTESTPM", "OTHER", "[CreateGroup(X)]");
        CHECK(server.Events().empty());
        CHECK(session->hProgmanConv == nullptr);
    }
    SUBCASE("the server ends the conversation while it carries out the command")
    {
        TestServer server("KBTESTPM");
        server.mode = TestServer::HangUp;
        REQUIRE(server.registered);
        SendDdeCommand("KBTESTPM", "PROGMAN", "[CreateGroup(X)]");
        CHECK(session->hProgmanConv == nullptr);
        CHECK(server.commands.size() == 1);
        // The next command still gets a conversation of its own.
        server.mode = TestServer::Accept;
        SendDdeCommand("KBTESTPM", "PROGMAN", "[CreateGroup(Y)]");
        REQUIRE(server.commands.size() == 2);
        CHECK(server.commands[1] == WithZero("[CreateGroup(Y)]"));
    }
    SUBCASE("the server takes longer than the time-out")
    {
        TestServer server("KBTESTPM");
        server.mode = TestServer::SlowAccept;
        REQUIRE(server.registered);
        SendDdeCommand("KBTESTPM", "PROGMAN", "[CreateGroup(X)]");
        CHECK(session->hProgmanConv == nullptr);
        CHECK(server.commands.size() == 1);
    }
}

TEST_CASE("DDECallback forgets the conversation when the server ends it")
{
    SessionFixture fixture;
    HCONV conv = reinterpret_cast<HCONV>(static_cast<ULONG_PTR>(0x1234));
    session->hProgmanConv = conv;
    const UINT others[] = { XTYP_ERROR, XTYP_XACT_COMPLETE, XTYP_REGISTER, XTYP_ADVDATA };
    for (UINT type : others) {
        CHECK(DDECallback(type, 0, conv, nullptr, nullptr, nullptr, 0, 0) == nullptr);
        CHECK(session->hProgmanConv == conv);
    }
    CHECK(DDECallback(XTYP_DISCONNECT, 0, conv, nullptr, nullptr, nullptr, 0, 0) == nullptr);
    CHECK(session->hProgmanConv == nullptr);
}

TEST_CASE("SNDPRG makes a program group and its item through the system's Program Manager")
{
    SessionFixture fixture;
    // The shell's DDE server comes up with the desktop, which the first
    // window of the prefix starts: wait for it.
    bool answers = false;
    for (int tries = 0; tries < 100 && !(answers = ServerAnswers("PROGMAN")); tries++)
        Sleep(100);
    REQUIRE(answers);

    std::string group = ProgramsFolder() + "\\Kb Sndprg Group";
    RemoveTreeForTest(group);
    SendProgman("[CreateGroup(Kb Sndprg Group)][AddItem(C:\\windows\\notepad.exe,Kb Notepad)]");
    CHECK(session->hProgmanConv == nullptr);
    DWORD attrs = GetFileAttributesA(group.c_str());
    REQUIRE(attrs != INVALID_FILE_ATTRIBUTES);
    CHECK((attrs & FILE_ATTRIBUTE_DIRECTORY) != 0);
    std::string link = ReadBytes(group + "\\Kb Notepad.lnk");
    // A shell link begins with its header size 0x4C and the link class id.
    REQUIRE(link.size() > 0x4C);
    CHECK(link.compare(0, 4, std::string("\x4C\0\0\0", 4)) == 0);

    SendProgman("[DeleteGroup(Kb Sndprg Group)]");
    CHECK(GetFileAttributesA(group.c_str()) == INVALID_FILE_ATTRIBUTES);
}
