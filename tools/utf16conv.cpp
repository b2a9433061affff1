// Converts a UTF-8 text file into the program's data-file form (UTF-16LE with
// the byte-order mark and LF line ends). The language files are kept as UTF-8
// in the repository so that they can be reviewed, and converted at build time.

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "model/TextFile.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: utf16conv INPUT.utf8 OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "utf16conv: cannot read " << argv[1] << "\n";
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (!zavrin::writeTextFile(argv[2], lines)) {
        std::cerr << "utf16conv: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
