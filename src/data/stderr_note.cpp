#include "data/stderr_note.h"

#include <cstdio>
#include <filesystem>

#include "data/bad_file_header.h"
#include "platform/code_page.h"

void NoteOnStderr(const std::string& text) {
    std::fprintf(stderr, "varnow: %s\n", platform::MessageToUtf8(text).c_str());
    std::fflush(stderr);
}

void NoteFileError(const std::string& pathAsOpened, const std::exception& error) {
    // The game folder may have been given relative to where the program
    // started; the note names the file wherever it is read.
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(pathAsOpened, ec);
    const std::string path = ec ? pathAsOpened : absolute.lexically_normal().string();
    if (auto* header = dynamic_cast<const EBadFileHeader*>(&error))
        NoteOnStderr(path + " is not " + header->Kind() + ": it does not start with the header \"" +
                     header->Magic() + "\"");
    else
        NoteOnStderr(path + ": " + error.what());
}
