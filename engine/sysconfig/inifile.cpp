#include "sysconfig/inifile.h"

#include <string.h>

#include "setup/session.h"

SectionPlace FindSectionHeader(const EditBuffer &eb, const char *section, char *header)
{
    SectionPlace place = {false, -1, 0};
    FormatStr(header, TextBufSize, "[%s]", section);
    int headerLen = static_cast<int>(strlen(header));
    char current[TextBufSize];
    int pos = 0;
    for (;;) {
        int start = pos;
        int n = NextBufferLine(pos, eb.text, eb.total, current);
        if (n < 0)
            break;
        pos++;
        if (n == headerLen && KeysEqual(current, header)) {
            place.found = true;
            place.headerStart = start;
            break;
        }
    }
    place.bodyStart = pos;
    return place;
}

static bool OnlyBlanks(const char *p, int n)
{
    for (int i = 0; i < n; i++)
        if (p[i] != ' ' && p[i] != '\t')
            return false;
    return true;
}

void RemoveEmptySection(EditBuffer &eb, const SectionPlace &place)
{
    if (!place.found)
        return;
    char current[TextBufSize];
    int pos = place.bodyStart;
    bool lastSection = true;
    for (;;) {
        int start = pos;
        int n = NextBufferLine(pos, eb.text, eb.total, current);
        if (n < 0)
            break;
        if (n > 0) {
            if (current[0] == '[') {
                pos = start;
                lastSection = false;
                break;
            }
            if (!OnlyBlanks(eb.text + start, pos - start))
                return;
        }
        pos++;
    }
    int end = pos < eb.total ? pos : eb.total;
    int from = place.headerStart;
    if (lastSection && from > 0)
        from--;
    ReplaceText(eb, from, end - from, "", 0);
}
