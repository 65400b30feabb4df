// The questions asked through the real message box, answered by clicks on
// its buttons from a second thread after the cause of the question is put
// right, as a user at the machine would do.
#include <functional>
#include <vector>

#include "actions/dirops.h"
#include "actions/fileops.h"
#include "actions_fixture.h"

namespace {

struct BoxStep {
    const char *caption;         // title of the box to wait for
    std::function<void()> fixUp; // what the user does before answering
    int button;                  // the button clicked
};

struct BoxDriver {
    std::vector<BoxStep> steps;
    std::vector<std::string> texts; // what each box said
    int done = 0;
    HANDLE thread = nullptr;

    explicit BoxDriver(std::vector<BoxStep> s) : steps(std::move(s))
    {
        MesgBoxResetSeam(); // the real box
        thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
    ~BoxDriver()
    {
        WaitForSingleObject(thread, 20000);
        CloseHandle(thread);
    }
    static HWND WaitForBox(const char *caption)
    {
        for (int i = 0; i < 200; i++) {
            HWND box = FindWindowA("#32770", caption);
            if (box && IsWindowVisible(box))
                return box;
            Sleep(50);
        }
        return nullptr;
    }
    static DWORD WINAPI Run(void *param)
    {
        BoxDriver *d = static_cast<BoxDriver *>(param);
        for (const BoxStep &step : d->steps) {
            HWND box = WaitForBox(step.caption);
            if (!box)
                return 1;
            d->texts.push_back(session->msgBoxText);
            if (step.fixUp)
                step.fixUp();
            HWND button = GetDlgItem(box, step.button);
            if (!button)
                return 1;
            PostMessageA(button, BM_CLICK, 0, 0);
            for (int i = 0; i < 200 && IsWindow(box); i++)
                Sleep(50);
            d->done++;
        }
        return 0;
    }
};

} // namespace

TEST_CASE("XFLCOPY: Retry at the 1007 prompt after the parent was made goes on into the new directory")
{
    ActionFixture f;
    std::string src = f / "SRC", parent = f / "PARENT", dst = parent / "APP";
    CreateDirectoryA(src.c_str(), nullptr);
    WriteBytes(src / "A.TXT", "a");
    int result;
    {
        BoxDriver driver({{"Message", [&] { CreateDirectoryA(parent.c_str(), nullptr); }, IDRETRY}});
        result = CopyTree(dst.c_str(), src.c_str(), false);
        WaitForSingleObject(driver.thread, 20000);
        CHECK(driver.done == 1);
        REQUIRE(driver.texts.size() == 1);
        CHECK(driver.texts[0] == Formatted(1007, dst));
    }
    CHECK(result == ResultGoOn);
    CHECK(ReadBytes(dst / "A.TXT") == "a");
}

TEST_CASE("MERGE: Abort then No at the missing-file prompt tests again and joins the part that arrived")
{
    ActionFixture f;
    std::string dest = f / "ALL.DAT", part = f / "P1.DAT";
    int result;
    {
        BoxDriver driver({{"Message", nullptr, IDABORT},
                          {"Abort", [&] { WriteBytes(part, "arrived"); }, IDNO}});
        result = MergeSource(dest.c_str(), part.c_str(), true);
        WaitForSingleObject(driver.thread, 20000);
        CHECK(driver.done == 2);
        REQUIRE(driver.texts.size() == 2);
        CHECK(driver.texts[0] == Formatted(1012, part));
        CHECK(driver.texts[1] == Text(1001));
    }
    CHECK(result == ResultGoOn);
    CHECK(ReadBytes(dest) == "arrived");
    CHECK(!FileExists(part));
}
