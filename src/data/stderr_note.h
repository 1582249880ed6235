#pragma once
// Details for whoever runs the program from a terminal. The error box keeps
// the program's own short texts; what they leave out (the real path of a
// file, the system's reason, the words expected) goes to stderr here, one
// line each, starting "varnow: ".

#include <exception>
#include <string>

// Writes "varnow: <text>" and a line break to stderr (game text in the
// code page is converted to UTF-8).
void NoteOnStderr(const std::string& text);

// Names the file an error came from: a file whose header is not what its
// kind needs says so, any other error is quoted after the path.
void NoteFileError(const std::string& path, const std::exception& error);

// Runs `load`; any std::exception it raises is noted with `path` and passed
// on.
template <class F>
auto NamingFileOnError(const std::string& path, F&& load) -> decltype(load()) {
    try {
        return load();
    } catch (const std::exception& e) {
        NoteFileError(path, e);
        throw;
    }
}
