#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "framework/folders.h"
#include "framework/tree_runner.h"
#include "scratch_folder.h"

TEST(Folders, SetKeepsOnlyRootedPathsEndingWithABackslash)
{
    struct Case {
        const char* path;
        int root;
        const char* kept;
    };
    const Case cases[] = {
        {"C:\\Data", 3, "C:\\Data\\"},
        {"c:\\Data\\", 3, "c:\\Data\\"},
        {"C:\\", 3, "C:\\"},
        {"\\\\srv\\share\\x", 12, "\\\\srv\\share\\x\\"},
        {"\\\\srv\\share", 12, "\\\\srv\\share\\"},
        {"Data", -1, ""},
        {"C:Data", -1, ""},
        {"\\\\srv", -1, ""},
        {"\\\\s:v\\share\\", -1, ""},
        {"\\Data", -1, ""},
        {"", -1, ""},
    };
    for (const Case& c : cases) {
        FSDirectory folder;
        EXPECT_EQ(c.root, folder.Set(c.path)) << c.path;
        EXPECT_STREQ(c.kept, folder.Path()) << c.path;
        EXPECT_EQ(c.root > 0, folder.IsValid()) << c.path;
    }
    std::string tooLong = "C:\\" + std::string(253, 'a');  // no room for the backslash
    EXPECT_EQ(-1, FSDirectory().Set(tooLong.c_str()));
}

TEST(Folders, EqualityIgnoresCase)
{
    EXPECT_EQ(FSDirectory("C:\\Data"), FSDirectory("c:\\DATA\\"));
    EXPECT_NE(FSDirectory("C:\\Data"), FSDirectory("C:\\Other"));
    EXPECT_NE(FSDirectory("C:\\A-1"), FSDirectory("C:\\A1"));
    EXPECT_NE(FSDirectory("C:\\co-op"), FSDirectory("C:\\coop"));
    EXPECT_EQ(FSDirectory("C:\\Co-Op"), FSDirectory("c:\\CO-OP"));
    EXPECT_EQ(FSDirectory(), FSDirectory("relative"));
    EXPECT_NE(FSDirectory(), FSDirectory("C:\\"));
}

TEST(Folders, SplitLastComponent)
{
    char path[FS_PATH_SIZE] = "C:\\Data\\Sub\\";
    char name[FS_NAME_SIZE];
    EXPECT_TRUE(SplitLastComponent(path, name));
    EXPECT_STREQ("C:\\Data\\", path);
    EXPECT_STREQ("Sub", name);
    EXPECT_TRUE(SplitLastComponent(path, name));
    EXPECT_STREQ("C:\\", path);
    EXPECT_STREQ("Data", name);
    EXPECT_FALSE(SplitLastComponent(path, name));
    char relative[FS_PATH_SIZE] = "Data\\x";
    EXPECT_FALSE(SplitLastComponent(relative, name));
}

TEST(Folders, JoinAndExistenceInARealFolder)
{
    ScratchFolder scratch;
    ASSERT_TRUE(scratch.folder.IsValid());
    scratch.WriteFile("a.txt", "hello");
    FSDirectory sub = scratch.Subfolder("b");
    ASSERT_TRUE(sub.IsValid());

    char path[FS_PATH_SIZE];
    EXPECT_TRUE(FSJoinPath(path, scratch.folder, "a.txt"));
    EXPECT_EQ(std::string(scratch.folder.Path()) + "a.txt", path);
    EXPECT_FALSE(FSJoinPath(path, FSDirectory("C:\\no\\such\\folder\\"), "a.txt"));
    EXPECT_STREQ("", path);

    EXPECT_TRUE(FSDirectoryExists(scratch.folder));
    EXPECT_TRUE(FSDirectoryExists(sub));  // empty folder
    EXPECT_FALSE(FSDirectoryExists(FSDirectory("C:\\no\\such\\folder\\")));
    EXPECT_FALSE(FSDirectoryExists(FSDirectory()));

    EXPECT_TRUE(FSFileExists(scratch.folder, "a.txt"));
    EXPECT_FALSE(FSFileExists(scratch.folder, "b"));  // a folder is no file
    EXPECT_FALSE(FSFileExists(scratch.folder, "missing.txt"));
    EXPECT_FALSE(FSFileExists(scratch.folder, ""));

    int32_t size = 0;
    EXPECT_TRUE(FSGetFileSize(scratch.folder, "a.txt", size));
    EXPECT_EQ(5, size);
    EXPECT_FALSE(FSGetFileSize(scratch.folder, "missing.txt", size));
    EXPECT_EQ(-1, size);

    FSDirectory found;
    EXPECT_TRUE(FSFindSubfolder(scratch.folder, "b", found));
    EXPECT_EQ(sub, found);
    EXPECT_FALSE(FSFindSubfolder(scratch.folder, "a.txt", found));
    EXPECT_FALSE(found.IsValid());

    EXPECT_TRUE(FSShortPath(scratch.folder, "a.txt", path));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path));
    EXPECT_FALSE(FSIsReadOnly(scratch.folder, "a.txt"));
    EXPECT_TRUE(FSRenameFile(scratch.folder, "a.txt", "c.txt"));
    EXPECT_TRUE(MoveFileInFolder("c.txt", scratch.folder, sub));
    EXPECT_TRUE(FSFileExists(sub, "c.txt"));
    EXPECT_TRUE(FSDeleteFile(sub, "c.txt"));
    EXPECT_FALSE(FSFileExists(sub, "c.txt"));
    EXPECT_TRUE(FSDeleteFile(sub, "c.txt"));  // already gone

    char name[FS_NAME_SIZE];
    FSDirectory parent;
    EXPECT_TRUE(FSParentFolder(sub, name, parent));
    EXPECT_STREQ("b", name);
    EXPECT_EQ(scratch.folder, parent);
}

TEST(Folders, FilesInADeepFolderExist)
{
    ScratchFolder scratch;
    FSDirectory deep = scratch.folder;
    while (std::strlen(deep.Path()) < 180)
        deep = scratch.Subfolder("a-rather-long-folder-name", &deep);
    ASSERT_TRUE(FSDirectoryExists(deep));
    scratch.WriteFile("deep.dat", "x", &deep);
    EXPECT_TRUE(FSFileExists(deep, "deep.dat"));
}

TEST(Folders, RootsAndStandardFolders)
{
    FSDirectory root("C:\\");
    EXPECT_TRUE(FSIsRoot(root));
    char name[FS_NAME_SIZE];
    FSDirectory parent("C:\\x");
    EXPECT_TRUE(FSParentFolder(root, name, parent));
    EXPECT_STREQ("C:\\", name);
    EXPECT_FALSE(parent.IsValid());

    FSDirectory folder;
    EXPECT_TRUE(FSProgramFolderAndName(folder, name));
    EXPECT_TRUE(FSFileExists(folder, name));
    EXPECT_TRUE(FSProgramFolder(folder));
    EXPECT_TRUE(FSTempFolder(folder));
    EXPECT_TRUE(FSDirectoryExists(folder));
    EXPECT_TRUE(FSWindowsFolder(folder));
    EXPECT_TRUE(FSDirectoryExists(folder));
    EXPECT_TRUE(FSDesktopFolder(folder));
    EXPECT_TRUE(folder.IsValid());

    FSDirectory current;
    ASSERT_TRUE(FSCurrentFolder(current));
    ScratchFolder scratch;
    EXPECT_TRUE(FSSetCurrentFolder(scratch.folder));
    EXPECT_TRUE(FSCurrentFolder(folder));
    EXPECT_EQ(scratch.folder, folder);
    EXPECT_TRUE(FSSetCurrentFolder(current));
}

namespace {

struct Entry {
    std::string name;
    bool isFile;
    int32_t size;
    uint32_t dosDateTime;
};

class Collector : public FSDirectoryEntryProcessor {
public:
    bool ProcessEntry(const char* name, bool isFile, const FSFileKind&, int32_t size,
                      uint32_t dosDateTime) override
    {
        entries.push_back(Entry{name, isFile, size, dosDateTime});
        return static_cast<int>(entries.size()) < stopAfter;
    }
    std::vector<Entry> entries;
    int stopAfter = 1000;
};

}  // namespace

TEST(Folders, ListingReportsFilesAndFolders)
{
    ScratchFolder scratch;
    scratch.WriteFile("a.txt", "12345");
    scratch.Subfolder("b");

    WIN32_FILE_ATTRIBUTE_DATA data;
    std::string path = std::string(scratch.folder.Path()) + "a.txt";
    ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
    WORD date = 0, time = 0;
    FileTimeToDosDateTime(&data.ftLastWriteTime, &date, &time);

    Collector all;
    EXPECT_TRUE(FSListDirectory(scratch.folder, all));
    ASSERT_EQ(2u, all.entries.size());
    for (const Entry& e : all.entries) {
        if (e.name == "a.txt") {
            EXPECT_TRUE(e.isFile);
            EXPECT_EQ(5, e.size);
            EXPECT_EQ((uint32_t(date) << 16) | time, e.dosDateTime);
        } else {
            EXPECT_EQ("b", e.name);
            EXPECT_FALSE(e.isFile);
            EXPECT_EQ(-1, e.size);
            EXPECT_EQ(0u, e.dosDateTime);
        }
    }

    Collector first;
    first.stopAfter = 1;
    EXPECT_FALSE(FSListDirectory(scratch.folder, first));
    EXPECT_EQ(1u, first.entries.size());

    Collector none;
    EXPECT_TRUE(FSListDirectory(FSDirectory("C:\\no\\such\\folder"), none));
    EXPECT_TRUE(none.entries.empty());

    TreeRunner runner(scratch.folder);
    EXPECT_EQ(2, runner.Count());
}

TEST(Folders, DeleteDirectoryTreeRemovesEverything)
{
    ScratchFolder scratch;
    FSDirectory top = scratch.Subfolder("top");
    FSDirectory inner = scratch.Subfolder("inner", &top);
    FSDirectory innermost = scratch.Subfolder("innermost", &inner);
    scratch.WriteFile("1.txt", "1", &top);
    scratch.WriteFile("2.txt", "2", &inner);
    scratch.WriteFile("3.txt", "3", &innermost);
    scratch.Subfolder("empty", &top);

    EXPECT_TRUE(DeleteDirectoryTree(top));
    EXPECT_FALSE(FSDirectoryExists(top));
    EXPECT_FALSE(DeleteDirectoryTree(top));  // nothing left to remove
}

namespace {

typedef char*(CDECL* UnixNameFunction)(LPCWSTR);
typedef BOOLEAN(WINAPI* SymbolicLinkFunction)(LPCSTR, LPCSTR, DWORD);

// Kernel32 functions of later systems (and Wine's own), found by name.
template <typename F>
F Kernel32Function(const char* name)
{
    return reinterpret_cast<F>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name)));
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// Runs a program of the machine beneath Wine and waits for `done`.
bool RunHostCommand(const char* program, const std::string& commandLine,
                    const std::function<bool()>& done)
{
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION process;
    std::string line = commandLine;
    if (!CreateProcessA(program, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (int i = 0; i < 250 && !done(); ++i)
        Sleep(20);
    return done();
}

bool IsLink(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// A symbolic link to a folder: made by the system where it can, else (under
// Wine) as a link of the host's file system, which Wine shows as one.
bool MakeFolderLink(const std::string& link, const std::string& target)
{
    const DWORD kDirectoryLink = 1;
    auto symbolicLink = Kernel32Function<SymbolicLinkFunction>("CreateSymbolicLinkA");
    if (symbolicLink && symbolicLink(link.c_str(), target.c_str(), kDirectoryLink) &&
        IsLink(link))
        return true;
    auto unixName = Kernel32Function<UnixNameFunction>("wine_get_unix_file_name");
    if (!unixName)
        return false;
    char* from = unixName(Wide(target).c_str());
    char* to = unixName(Wide(link).c_str());
    bool made = from && to &&
                RunHostCommand("Z:\\bin\\ln", std::string("ln -s \"") + from + "\" \"" + to + "\"",
                               [&] { return IsLink(link); });
    HeapFree(GetProcessHeap(), 0, from);
    HeapFree(GetProcessHeap(), 0, to);
    return made;
}

void RemoveFolderLink(const std::string& link)
{
    if (RemoveDirectoryA(link.c_str()) || DeleteFileA(link.c_str()))
        return;
    auto unixName = Kernel32Function<UnixNameFunction>("wine_get_unix_file_name");
    if (char* path = unixName ? unixName(Wide(link).c_str()) : nullptr) {
        RunHostCommand("Z:\\bin\\rm", std::string("rm \"") + path + "\"",
                       [&] { return GetFileAttributesA(link.c_str()) == INVALID_FILE_ATTRIBUTES; });
        HeapFree(GetProcessHeap(), 0, path);
    }
}

}  // namespace

TEST(Folders, DeleteDirectoryTreeNeverWalksThroughALink)
{
    ScratchFolder scratch;
    FSDirectory outside = scratch.Subfolder("outside");
    scratch.WriteFile("keep.txt", "k", &outside);
    FSDirectory top = scratch.Subfolder("top");
    scratch.WriteFile("1.txt", "1", &top);
    std::string link = std::string(top.Path()) + "link";
    if (!MakeFolderLink(link, outside.Path()))
        GTEST_SKIP() << "no folder links on this system";

    DeleteDirectoryTree(top);
    EXPECT_TRUE(FSFileExists(outside, "keep.txt"));
    if (IsLink(link))
        RemoveFolderLink(link);  // a link the system cannot remove (Wine)
    EXPECT_FALSE(IsLink(link));
}

TEST(Volumes, ListedVolumesAreFoundByTheirLabels)
{
    class Collector : public FSVolumeEntryProcessor {
    public:
        bool ProcessVolume(const FSDirectory& root, const char* label) override
        {
            roots.push_back(root.Path());
            labels.push_back(label);
            return true;
        }
        std::vector<std::string> roots;
        std::vector<std::string> labels;
    } all;
    EXPECT_TRUE(FSEnumerateVolumes(all));
    ASSERT_FALSE(all.roots.empty());
    EXPECT_STRCASEEQ("C:\\", all.roots[0].c_str());  // the fixed drive comes first

    char label[FS_NAME_SIZE];
    EXPECT_TRUE(FSVolumeLabelOf(FSDirectory("C:\\windows"), label));
    EXPECT_EQ(all.labels[0], label);

    FSDirectory root;
    for (size_t i = 0; i < all.roots.size(); ++i) {
        if (all.labels[i].empty())
            continue;
        EXPECT_TRUE(FSFindVolume(all.labels[i].c_str(), root));
        EXPECT_STRCASEEQ(all.roots[i].c_str(), root.Path());
        break;
    }
    EXPECT_FALSE(FSFindVolume("no volume is called this", root));
    EXPECT_FALSE(root.IsValid());
}

class CommandLinePaths : public ::testing::Test {
protected:
    void SetUp() override
    {
        current = scratch.Subfolder("current");
        scratch.Subfolder("sub", &current);
        scratch.Subfolder("sibling");
        scratch.WriteFile("x.pic", "x");
    }
    std::string In(const FSDirectory& folder, const char* rest = "")
    {
        return std::string(folder.Path()) + rest;
    }
    ScratchFolder scratch;
    FSDirectory current;
};

TEST_F(CommandLinePaths, ResolvesRelativeAndOrdinaryArguments)
{
    struct Case {
        std::string token;
        bool resolves;
        std::string folder;
        std::string name;
    };
    const std::string top = scratch.folder.Path();
    const std::string cur = current.Path();
    const Case cases[] = {
        {"..\\x.pic", true, top, "x.pic"},
        {".\\sub", true, cur + "sub\\", ""},
        {".\\sub\\new.pic", true, cur + "sub\\", "new.pic"},
        {"..\\sibling\\..\\current\\.\\sub\\", true, cur + "sub\\", ""},
        {":sub:", true, cur + "sub\\", ""},
        {"::x.pic", true, top, "x.pic"},
        {"..\\missing\\x", false, "", ""},
        {".hidden\\x", false, "", ""},
        {top + "x.pic", true, top, "x.pic"},
        {cur + "sub", true, cur + "sub\\", ""},
        {top + "nowhere\\x.pic", false, "", ""},
        {"relative.pic", false, "", ""},
    };
    for (const Case& c : cases) {
        FSDirectory folder("C:\\stale");
        char name[FS_NAME_SIZE] = "stale";
        EXPECT_EQ(c.resolves, ResolveCommandLinePath(c.token.c_str(), current, folder, name))
            << c.token;
        EXPECT_STRCASEEQ(c.folder.c_str(), folder.Path()) << c.token;
        EXPECT_STREQ(c.name.c_str(), name) << c.token;
    }
}

TEST_F(CommandLinePaths, GoingAboveTheRootFails)
{
    FSDirectory folder;
    char name[FS_NAME_SIZE];
    std::string up;
    for (int i = 0; i < 40; ++i)
        up += "..\\";
    EXPECT_FALSE(ResolveCommandLinePath((up + "x").c_str(), current, folder, name));
    EXPECT_FALSE(ResolveCommandLinePath(".\\x", FSDirectory("C:\\no\\such\\"), folder, name));
}
