#pragma once
// The names of one folder's entries, listed once at construction.

#include "framework/base_list.h"
#include "framework/folders.h"

// Items are 64-byte name texts owned by the runner.
class TreeRunner : public BaseList {
public:
    explicit TreeRunner(const FSDirectory& folder);
    ~TreeRunner();

    const char* NameAt(const BaseListIterator& at) const
    {
        return static_cast<const char*>(ItemAt(at));
    }
    // False when a name could not be kept (the list is then incomplete).
    bool IsComplete() const { return complete; }

private:
    bool complete;
};

class TreeRunnerProcessor : public FSDirectoryEntryProcessor {
public:
    explicit TreeRunnerProcessor(TreeRunner* runner) : runner(runner) {}
    bool ProcessEntry(const char* name, bool isFile, const FSFileKind& kind, int32_t size,
                      uint32_t dosDateTime) override;

    TreeRunner* runner;
};
