// A real top-level window with the directory field, as on the directory
// page, and a fresh session record that names it.
#pragma once

#include <windows.h>

#include <string>

#include "testutil.h"

struct DirWindow : SessionFixture {
    HWND main = nullptr;
    HWND edit = nullptr;
    DirWindow();
    ~DirWindow();
    std::string Field() const;
    void SetField(const std::string &text) const { SetWindowTextA(edit, text.c_str()); }
};
