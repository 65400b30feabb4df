#include <stdio.h>

#include <vector>

#include "actions/mesgbox.h"
#include "setup/session.h"

namespace {
struct Seam {
    bool active = false;
    std::vector<int> answers;
    size_t next = 0;
    std::vector<MesgBoxCall> calls;
    int unanswered = 0;
};
Seam seam;
}

void MesgBoxQueueAnswer(int answer)
{
    seam.active = true;
    seam.answers.push_back(answer);
}

void MesgBoxResetSeam()
{
    seam = Seam();
}

int MesgBoxCallCount()
{
    return static_cast<int>(seam.calls.size());
}

const MesgBoxCall *MesgBoxCallAt(int index)
{
    if (index < 0 || index >= MesgBoxCallCount())
        return nullptr;
    return &seam.calls[index];
}

bool MesgBoxSeamAnswer(const char *text, const char *caption, int style, int *answer)
{
    if (!seam.active)
        return false;
    MesgBoxCall call;
    CopyStr(call.text, text ? text : "", sizeof call.text);
    CopyStr(call.caption, caption ? caption : "", sizeof call.caption);
    call.style = style;
    seam.calls.push_back(call);
    if (seam.next < seam.answers.size()) {
        *answer = seam.answers[seam.next++];
        return true;
    }
    // An action that asks again and again (a retry loop) would spin for ever
    // on the 0 of a forgotten answer: end the test program instead.
    if (++seam.unanswered > 1000) {
        fprintf(stderr, "MesgBox asked without an answer queued: \"%s\"\n", call.text);
        fflush(stderr);
        ExitProcess(3);
    }
    *answer = 0;
    return true;
}
