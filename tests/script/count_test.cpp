#include <doctest.h>

#include <string>

#include "setup/interpreter.h"
#include "medium.h"

// [GENERAL] with options 0..2 of which the set checks 0 and 1 only.
static const char general[] =
    "[GENERAL]\nLANGUAGE=ENGLISH\nINSTALLSET1=Typical,SI,-2,0,1\n"
    "OPTION0=Zero\nOPTION1=One\nOPTION2=Two\n";

struct CountCase {
    const char *name;
    const char *script;
    int total;
    int lastGroup;
    int groups[4];
};

TEST_CASE("CountScriptSteps divides the chosen script into disk groups")
{
    const CountCase cases[] = {
        { "worked example: line 4 not selected",
          "FLCOPY SETUP.EXE $A\\\\SETUP.EXE\n:DISK2 Program files\nLZCOPY PROG.EX_ $A\\\\PROG.EXE\n"
          "LZCOPY HELP.HL_ $A\\\\HELP.HLP 2\nREMOVE $A\\\\OLD.TMP\n",
          3, 1, { 1, 2 } },
        { "a script starting with a disk group line",
          ":DISK1 first\nMKDIR A\nMKDIR B\n", 2, 1, { 0, 2 } },
        { "consecutive lines with one label form one group",
          "MKDIR A\n:D2\nMKDIR B\n:D2 again\nMKDIR C\n:D3\nMKDIR D\n", 4, 2, { 1, 2, 1 } },
        { "a group line followed by no command adds no group",
          "MKDIR A\n:D2\n:D3\nMKDIR B\n", 2, 1, { 1, 1 } },
        { "comments, blank-led lines, unknown words and lower case are not counted",
          "; comment\n mkdir X\nmkdir X\nREM x\n\nADDINIT\nDELINIT\n", 2, 0, { 2 } },
        { "selectors: option 0 and 1 checked, 2 not, mode rows absent",
          "MKDIR A 0\nMKDIR B 1\nMKDIR C 2\nMKDIR D 0 1\nMKDIR E \n", 3, 0, { 3 } },
        { "the section ends at the next header",
          "MKDIR A\n[OTHER]\nMKDIR B\n", 1, 0, { 1 } },
    };
    for (const CountCase &c : cases) {
        CAPTURE(c.name);
        Medium medium(std::string(general) + "[INSTALL-SCRIPT]\n" + c.script);
        medium.start();
        session->installKind = 1;
        CHECK(CountScriptSteps() == c.total);
        CHECK(session->lastGroup == c.lastGroup);
        for (int g = 0; g <= c.lastGroup; g++)
            CHECK(session->groupSteps[g] == c.groups[g]);
    }
}

TEST_CASE("More disk groups than the record holds stay within it and count every command")
{
    std::string script;
    for (int i = 0; i < 130; i++)
        script += ":D" + std::to_string(i) + "\nADDINIT\n";
    Medium medium(std::string(general) + "[INSTALL-SCRIPT]\n" + script);
    medium.start();
    session->installKind = 1;
    CHECK(CountScriptSteps() == 130);
    CHECK(session->lastGroup == MaxDiskGroups - 1);
    int sum = 0;
    for (int g = 0; g < MaxDiskGroups; g++)
        sum += session->groupSteps[g];
    CHECK(sum == 130);
    CHECK(GroupOfStep(130) == MaxDiskGroups - 1);
    CHECK(GroupOfStep(1) == 1);
}

TEST_CASE("GroupOfStep and a missing script section")
{
    Medium medium(std::string(general) + "[INSTALL-SCRIPT]\nMKDIR A\n:D2\nMKDIR B\nMKDIR C\n");
    medium.start();
    session->installKind = 4; // a delete set: [DELETE-SCRIPT] does not exist
    CHECK(CountScriptSteps() == 0);
    session->installKind = 1;
    CHECK(CountScriptSteps() == 3);
    CHECK(GroupOfStep(1) == 0);
    CHECK(GroupOfStep(2) == 1);
    CHECK(GroupOfStep(3) == 1);
    CHECK(GroupOfStep(4) == 0);
}
