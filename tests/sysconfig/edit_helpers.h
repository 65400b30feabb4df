// Shared by the system file editing tests: script operations by name and
// text written with CR LF line ends.
#pragma once

#include <string>
#include <vector>

#include "sysconfig/configsys.h"

enum EditKind { AddConf, DelConf, AddAuto, DelAuto, AddPath, DelPath, AddIni, DelIni };

struct EditOp {
    EditKind kind;
    const char *arg;           // the line or directory
    const char *section = "";  // for AddIni and DelIni
};

// Runs one operation on path the way its script command does.
inline void RunEdit(const std::string &path, const EditOp &op)
{
    const char *p = path.c_str();
    switch (op.kind) {
    case AddConf: AddSystemLineAt(p, '=', nullptr, op.arg); break;
    case DelConf: DeleteSystemLineAt(p, '=', nullptr, op.arg); break;
    case AddAuto: AddSystemLineAt(p, ' ', nullptr, op.arg); break;
    case DelAuto: DeleteSystemLineAt(p, ' ', nullptr, op.arg); break;
    case AddPath: AddPathEntryAt(p, op.arg); break;
    case DelPath: DeletePathEntryAt(p, op.arg); break;
    case AddIni: AddSystemLineAt(p, '=', op.section, op.arg); break;
    case DelIni: DeleteSystemLineAt(p, '=', op.section, op.arg); break;
    }
}

// "a\nb\n" as it stands on disk: "a\r\nb\r\n".
inline std::string Crlf(const std::string &text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

// Keeps the real system files of the Windows drive root and the Windows
// directory (and their addition files) and puts them back as they were when
// the object goes away, so tests may edit, create and remove them.
struct SystemFilesGuard {
    struct Saved {
        std::string path;
        bool existed;
        DWORD attributes;
        std::string bytes;
    };
    std::vector<Saved> saved;
    std::string root, windows;
    SystemFilesGuard();
    ~SystemFilesGuard();
    // Removes one of them for the test.
    void Remove(const std::string &path);
};

// Names of the files in dir, sorted.
std::vector<std::string> FilesIn(const std::string &dir);
