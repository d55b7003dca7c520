#include "gallery/gallery_folders.h"

#include "gallery/gallery_messages.h"

namespace {

bool Subfolder(const FSDirectory& program, int16_t key, FSDirectory& folder)
{
    const char* name = GalleryText(key);
    return name[0] != '\0' && (FSFindSubfolder(program, name, folder) ||
                               FSCreateSubfolder(program, name, folder));
}

}  // namespace

bool GalleryFolders(const FSDirectory& program, FSDirectory& books, FSDirectory& trash)
{
    return Subfolder(program, kTextBooksFolder, books) && Subfolder(program, kTextTrashFolder, trash);
}
