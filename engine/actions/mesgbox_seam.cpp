#include <vector>

#include "actions/mesgbox.h"
#include "setup/session.h"

namespace {
struct Seam {
    bool active = false;
    std::vector<int> answers;
    size_t next = 0;
    std::vector<MesgBoxCall> calls;
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
    *answer = seam.next < seam.answers.size() ? seam.answers[seam.next++] : 0;
    return true;
}
