// Resolution of one command-line argument into a folder and a file name.
// Relative arguments are turned into the colon form ("name:" enters a
// folder, a colon that follows no name goes up one folder) and walked from
// the current folder.

#include <windows.h>

#include <cstring>

#include "framework/folders.h"
#include "framework/text.h"

namespace {

const int kColonFormSize = 512;

bool ResolveOrdinaryPath(const char* token, FSDirectory& folder, char* name)
{
    FSDirectory whole;
    if (whole.Set(token) > 0 && FSDirectoryExists(whole)) {
        folder = whole;
        return true;
    }
    char work[FS_PATH_SIZE];
    if (!StringCopyBounded(token, work, FS_PATH_SIZE) || !SplitLastComponent(work, name))
        return false;
    FSDirectory parent;
    if (parent.Set(work) > 0 && FSDirectoryExists(parent)) {
        folder = parent;
        return true;
    }
    name[0] = 0;
    return false;
}

// "..\a\.\b" becomes ":a:b:"; false for a component that begins with "." (other
// than "." and "..") or for a leading backslash.
bool ToColonForm(const char* token, char* out)
{
    out[0] = 0;
    if (token[0] == '\\')
        return false;
    const char* p = token;
    while (*p) {
        const char* end = p;
        while (*end && *end != '\\') {
            if (IsDBCSLeadByte(static_cast<BYTE>(*end)) && end[1])
                ++end;
            ++end;
        }
        size_t length = end - p;
        char component[FS_PATH_SIZE];
        if (length >= sizeof component)
            return false;
        std::memcpy(component, p, length);
        component[length] = 0;
        bool fitted = true;
        if (length == 0 || std::strcmp(component, ".") == 0) {
            // skipped
        } else if (std::strcmp(component, "..") == 0) {
            fitted = StringAppendBounded(":", out, kColonFormSize);
        } else if (component[0] == '.') {
            return false;
        } else {
            fitted = StringAppendBounded(component, out, kColonFormSize) &&
                     StringAppendBounded(":", out, kColonFormSize);
        }
        if (!fitted)
            return false;
        p = *end ? end + 1 : end;
    }
    return true;
}

bool WalkColonForm(const char* path, const FSDirectory& current, FSDirectory& folder,
                   char* name)
{
    FSDirectory here = current;
    const char* p = path;
    bool afterName = false;
    while (*p) {
        if (*p == ':') {
            if (!afterName) {
                char parentName[FS_NAME_SIZE];
                FSDirectory parent;
                if (!FSParentFolder(here, parentName, parent) || !parent.IsValid())
                    return false;
                here = parent;
            }
            afterName = false;
            ++p;
            continue;
        }
        const char* end = std::strchr(p, ':');
        if (end == nullptr)
            end = p + std::strlen(p);
        size_t length = end - p;
        if (length >= static_cast<size_t>(FS_NAME_SIZE))
            return false;
        char component[FS_NAME_SIZE];
        std::memcpy(component, p, length);
        component[length] = 0;
        FSDirectory subfolder;
        if (FSFindSubfolder(here, component, subfolder)) {
            here = subfolder;
        } else {
            // A file name ends the path.
            const char* rest = *end ? end + 1 : end;
            if (*rest)
                return false;
            std::memcpy(name, component, length + 1);
            folder = here;
            return true;
        }
        afterName = true;
        p = end;
    }
    folder = here;
    return true;
}

}  // namespace

bool ResolveCommandLinePath(const char* token, const FSDirectory& current,
                            FSDirectory& folder, char* name)
{
    folder.Clear();
    name[0] = 0;
    if (token == nullptr || token[0] == 0)
        return false;
    if (token[0] != ':' && token[0] != '.')
        return ResolveOrdinaryPath(token, folder, name);
    if (!FSDirectoryExists(current))
        return false;
    char colonForm[kColonFormSize];
    if (token[0] == ':') {
        if (!StringCopyBounded(token + 1, colonForm, kColonFormSize))
            return false;
    } else if (!ToColonForm(token, colonForm)) {
        return false;
    }
    if (WalkColonForm(colonForm, current, folder, name))
        return true;
    folder.Clear();
    name[0] = 0;
    return false;
}
