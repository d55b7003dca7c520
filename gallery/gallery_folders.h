#pragma once
// The two folders of the sketchbooks, subfolders of the program folder
// named by the texts: the books (and cache.img), and the trash (thrown-away
// books and trash.img). Each is made when missing.
#include "framework/folders.h"

bool GalleryFolders(const FSDirectory& program, FSDirectory& books, FSDirectory& trash);
