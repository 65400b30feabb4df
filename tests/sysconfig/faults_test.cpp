#include <doctest.h>

#include <string>
#include <vector>

#include "edit_helpers.h"
#include "sysconfig/systemfile.h"
#include "testutil.h"

namespace {
// Clears the simulated faults whatever happens in the test.
struct FaultGuard {
    ~FaultGuard()
    {
        SetEditWriteLimit(-1);
        SetEditNoAtomicReplace(false);
    }
};

std::string SampleConfig()
{
    std::string text;
    for (int i = 0; i < 150; i++)
        text += "DEVICE=C:\\DRV\\D" + std::to_string(i) + ".SYS\r\n";
    return text;
}

const EditOp faultOps[] = {
    {AddConf, "DEVICE=C:\\APP\\APP.SYS"},
    {DelConf, "DEVICE=C:\\DRV\\D7.SYS"},
    {AddPath, "C:\\APP"},
    {AddIni, "Key=1", "App"},
};
}

TEST_CASE("A write that stops part-way leaves the old file as it was")
{
    FaultGuard guard;
    std::string before = SampleConfig();
    for (const EditOp &op : faultOps) {
        // The whole edit first, to know its size on disk.
        ScratchDir clean("whole");
        REQUIRE(WriteBytes(clean / "CONFIG.SYS", before));
        RunEdit(clean / "CONFIG.SYS", op);
        int full = static_cast<int>(ReadBytes(clean / "CONFIG.SYS").size());
        REQUIRE(ReadBytes(clean / "CONFIG.SYS") != before);
        // Stop it at the piece boundaries, in between, and one byte short.
        const int limits[] = {0, 1, 511, 512, 513, 1024, 2000, full - 1};
        for (bool atomic : {true, false}) {
            SetEditNoAtomicReplace(!atomic);
            for (int limit : limits) {
                CAPTURE(atomic);
                CAPTURE(op.kind);
                CAPTURE(limit);
                ScratchDir dir("fault");
                std::string path = dir / "CONFIG.SYS";
                REQUIRE(WriteBytes(path, before));
                SetEditWriteLimit(limit);
                RunEdit(path, op);
                SetEditWriteLimit(-1);
                CHECK(ReadBytes(path) == before);
                CHECK(FilesIn(dir.path) == std::vector<std::string>{"CONFIG.SYS"});
            }
            SetEditNoAtomicReplace(false);
        }
    }
}

TEST_CASE("The new file keeps the old one's hidden and system attributes")
{
    FaultGuard guard;
    for (bool atomic : {true, false}) {
        CAPTURE(atomic);
        SetEditNoAtomicReplace(!atomic);
        ScratchDir dir("attr");
        std::string path = dir / "CONFIG.SYS";
        REQUIRE(WriteBytes(path, "FILES=30\r\n"));
        REQUIRE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
        AddSystemLineAt(path.c_str(), '=', nullptr, "BUFFERS=20");
        CHECK(ReadBytes(path) == "FILES=30\r\nBUFFERS=20\r\n");
        DWORD attributes = GetFileAttributesA(path.c_str());
        CHECK((attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) ==
              (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
        CHECK((attributes & FILE_ATTRIBUTE_READONLY) == 0);
        CHECK(FilesIn(dir.path) == std::vector<std::string>{"CONFIG.SYS"});
    }
}

TEST_CASE("A read-only, locked or busy file is left alone")
{
    enum Blocker { ReadOnly, OpenWithoutSharing, OpenForReading };
    FaultGuard guard;
    std::string before = "FILES=30\r\nDEVICE=C:\\DRV\\D7.SYS\r\nPATH C:\\DOS\r\n";
    for (bool atomic : {true, false}) {
        SetEditNoAtomicReplace(!atomic);
        for (Blocker blocker : {ReadOnly, OpenWithoutSharing, OpenForReading}) {
            for (const EditOp &op : faultOps) {
                CAPTURE(atomic);
                CAPTURE(blocker);
                CAPTURE(op.kind);
                ScratchDir dir("busy");
                std::string path = dir / "CONFIG.SYS";
                REQUIRE(WriteBytes(path, before));
                HANDLE other = INVALID_HANDLE_VALUE;
                if (blocker == ReadOnly)
                    REQUIRE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
                else if (blocker == OpenWithoutSharing)
                    other = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
                else // it can be read and written, but not replaced
                    other = CreateFileA(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        0, nullptr);
                REQUIRE((blocker == ReadOnly || other != INVALID_HANDLE_VALUE));
                RunEdit(path, op);
                if (other != INVALID_HANDLE_VALUE)
                    CloseHandle(other);
                CHECK(ReadBytes(path) == before);
                CHECK(FilesIn(dir.path) == std::vector<std::string>{"CONFIG.SYS"});
                if (blocker == ReadOnly)
                    CHECK((GetFileAttributesA(path.c_str()) & ~FILE_ATTRIBUTE_ARCHIVE) ==
                          FILE_ATTRIBUTE_READONLY);
            }
        }
    }
}
