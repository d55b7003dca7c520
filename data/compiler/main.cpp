// The data compiler: turns the sources under data/ and the rendered art and
// sound into the program's script, picture and sound files.
//
//   datac DATA RENDERED OUT
// DATA: the data folder; RENDERED: where the renderer left pictures.lst,
// sounds.lst and their pixels and samples; OUT: where the files go. Every
// refusal is printed as file:line: message, and nothing is written then.
#include <cstdio>
#include <string>
#include "compile.h"

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: datac DATA-FOLDER RENDERED-FOLDER OUT-FOLDER\n");
        return 2;
    }
    auto folder = [](std::string path) {
        for (char& c : path)
            if (c == '/') c = '\\';
        if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
        return path;
    };
    return CompileDataSet(folder(argv[1]), folder(argv[2]), folder(argv[3])) ? 0 : 1;
}
