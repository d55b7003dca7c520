#pragma once
// Folders and file names are always kept apart: an FSDirectory holds a
// folder path that ends with a backslash, and a file name is a separate
// text of at most 63 bytes.

#include <cstdint>

const int FS_PATH_SIZE = 256;  // folder paths and joined paths, with the zero
const int FS_NAME_SIZE = 64;   // file names, with the zero

// Passed with file names and to directory visitors; carries nothing here.
struct FSFileKind {};

class FSDirectory {
public:
    FSDirectory();
    explicit FSDirectory(const char* path);

    // Copies the path, appending a backslash when needed; returns the length
    // of its root prefix, or -1 (and an empty folder) when the path does not
    // begin with a drive or network root.
    int Set(const char* path);
    void Clear();
    bool IsValid() const;
    const char* Path() const { return path; }

    // Both empty, or both set and equal ignoring case.
    bool operator==(const FSDirectory& other) const;
    bool operator!=(const FSDirectory& other) const { return !(*this == other); }

private:
    char path[FS_PATH_SIZE];
};

// 3 for "X:\", the length through the backslash after the share name for
// "\\server\share\", else -1.
int RootPrefixLength(const char* path);

bool FSIsRoot(const FSDirectory& folder);
// name receives FS_NAME_SIZE bytes; for a root it is the root text and the
// parent is empty.
bool FSParentFolder(const FSDirectory& folder, char* name, FSDirectory& parent);
// Cuts the last component (without its backslash) off path into name
// (FS_NAME_SIZE bytes); false for a root or an invalid path.
bool SplitLastComponent(char* path, char* name);

// out receives FS_PATH_SIZE bytes; false (and an empty out) when the folder
// does not exist, false too when the joined path was cut.
bool FSJoinPath(char* out, const FSDirectory& folder, const char* name);
bool FSDirectoryExists(const FSDirectory& folder);
// True only for an existing file (not a folder).
bool FSFileExists(const FSDirectory& folder, const char* name);
bool FSIsReadOnly(const FSDirectory& folder, const char* name);
// size is -1 unless the file exists; the low 32 bits of its size.
bool FSGetFileSize(const FSDirectory& folder, const char* name, int32_t& size);
bool FSFindSubfolder(const FSDirectory& folder, const char* name, FSDirectory& subfolder);
bool FSCreateSubfolder(const FSDirectory& folder, const char* name, FSDirectory& subfolder);
// True also when the file did not exist.
bool FSDeleteFile(const FSDirectory& folder, const char* name);
bool FSRenameFile(const FSDirectory& folder, const char* oldName, const char* newName);
bool MoveFileInFolder(const char* name, const FSDirectory& from, const FSDirectory& to);
// path receives FS_PATH_SIZE bytes.
bool FSShortPath(const FSDirectory& folder, const char* name, char* path);

// Standard folders: false and an empty folder when the system call fails or
// the path does not fit.
bool FSProgramFolder(FSDirectory& folder);
bool FSProgramFolderAndName(FSDirectory& folder, char* name);
bool FSCurrentFolder(FSDirectory& folder);
bool FSSetCurrentFolder(const FSDirectory& folder);
bool FSTempFolder(FSDirectory& folder);
bool FSWindowsFolder(FSDirectory& folder);
bool FSDesktopFolder(FSDirectory& folder);

class FSDirectoryEntryProcessor {
public:
    // size: low 32 bits of a file's size, -1 for a folder; dosDateTime: DOS
    // date in the high 16 bits and DOS time in the low 16 bits of the last
    // write, 0 for a folder. Answer false to stop the listing.
    virtual bool ProcessEntry(const char* name, bool isFile, const FSFileKind& kind,
                              int32_t size, uint32_t dosDateTime) = 0;

protected:
    ~FSDirectoryEntryProcessor() = default;
};

// Every entry but "." and ".."; false when the processor stopped it or the
// search pattern cannot be formed; true for a folder that cannot be searched.
bool FSListDirectory(const FSDirectory& folder, FSDirectoryEntryProcessor& processor);

class FSVolumeEntryProcessor {
public:
    virtual bool ProcessVolume(const FSDirectory& root, const char* label) = 0;

protected:
    ~FSVolumeEntryProcessor() = default;
};

// Stops at the first volume whose label equals wanted, ignoring case.
class FSMatchVolumeName : public FSVolumeEntryProcessor {
public:
    explicit FSMatchVolumeName(const char* wanted);
    bool ProcessVolume(const FSDirectory& root, const char* label) override;

    FSDirectory found;
    char wanted[FS_NAME_SIZE];
};

// Fixed drives first, then removable and CD-ROM drives.
bool FSEnumerateVolumes(FSVolumeEntryProcessor& processor);
bool FSFindVolume(const char* label, FSDirectory& root);
// label receives FS_NAME_SIZE bytes.
bool FSVolumeLabelOf(const FSDirectory& folder, char* label);

// Removes the folder with every file and subfolder in it; true when all of
// it is gone.
bool DeleteDirectoryTree(const FSDirectory& folder);

// Resolves one command-line argument into a folder and a file name (empty
// when the argument names a folder). Arguments that begin with ":" or "."
// are relative to current.
bool ResolveCommandLinePath(const char* token, const FSDirectory& current,
                            FSDirectory& folder, char* name);
