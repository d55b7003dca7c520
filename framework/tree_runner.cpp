#include "framework/tree_runner.h"

#include <windows.h>

#include "framework/heap.h"
#include "framework/text.h"

TreeRunner::TreeRunner(const FSDirectory& folder) : complete(true)
{
    if (folder.IsValid() && FSDirectoryExists(folder)) {
        TreeRunnerProcessor processor(this);
        complete = FSListDirectory(folder, processor);
    }
}

TreeRunner::~TreeRunner()
{
    while (Count() > 0)
        operator delete(RemoveFirst());
}

bool TreeRunnerProcessor::ProcessEntry(const char* name, bool, const FSFileKind&, int32_t,
                                       uint32_t)
{
    if (CompareText(name, ".", false) == 0 || CompareText(name, "..", false) == 0)
        return true;
    char* copy = static_cast<char*>(HeapAllocateDefault(FS_NAME_SIZE));
    if (copy == nullptr)
        return false;
    StringCopyBounded(name, copy, FS_NAME_SIZE);
    if (runner->Append(copy) == nullptr) {
        operator delete(copy);
        return false;
    }
    return true;
}

namespace {

// Junctions and symbolic links lead out of the tree: each is removed itself,
// never walked into. Answers false for anything else.
bool RemoveIfLink(const FSDirectory& folder, const char* name, bool* removed)
{
    char path[FS_PATH_SIZE];
    if (!FSJoinPath(path, folder, name))
        return false;
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    *removed = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? RemoveDirectoryA(path) != 0
                                                        : DeleteFileA(path) != 0;
    return true;
}

}  // namespace

bool DeleteDirectoryTree(const FSDirectory& folder)
{
    if (!FSDirectoryExists(folder))
        return false;
    {
        TreeRunner runner(folder);
        if (!runner.IsComplete())
            return false;
        for (BaseListIterator it(&runner, BaseListIterator::kFirst); it.IsValid(); it.Next()) {
            const char* name = runner.NameAt(it);
            FSDirectory subfolder;
            bool removed = false;
            if (!RemoveIfLink(folder, name, &removed))
                removed = FSFindSubfolder(folder, name, subfolder) ? DeleteDirectoryTree(subfolder)
                                                                    : FSDeleteFile(folder, name);
            if (!removed)
                return false;
        }
    }
    return RemoveDirectoryA(folder.Path());
}
