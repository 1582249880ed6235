#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/file_names.h"

namespace platform {

namespace {

void SetError(std::string* error, const std::string& what, const std::string& path) {
    if (error) *error = what + " \"" + path + "\": " + std::strerror(errno);
}

std::string ParentFolder(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

bool WriteAll(int fd, const uint8_t* p, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, p, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        size -= size_t(n);
    }
    return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out, std::string* error, uint64_t maxBytes) {
    out.clear();
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        SetError(error, "Cannot open", path);
        return false;
    }
    struct stat st {};
    if (fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : errno;
        SetError(error, "Cannot read", path);
        return false;
    }
    if (uint64_t(st.st_size) > maxBytes) {
        errno = EFBIG;
        SetError(error, "Too large to read", path);
        return false;
    }
    out.resize(size_t(st.st_size));
    size_t got = 0;
    // The file may change under us: read what is there, up to the limit.
    for (;;) {
        if (got == out.size()) {
            if (out.size() >= maxBytes) break;
            out.resize(std::min<uint64_t>(maxBytes, out.size() + 65536));
        }
        ssize_t n = ::read(fd.get(), out.data() + got, out.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            SetError(error, "Cannot read", path);
            out.clear();
            return false;
        }
        if (n == 0) break;
        got += size_t(n);
    }
    out.resize(got);
    return true;
}

bool ReadFilePrefix(const std::string& path, size_t n, std::vector<uint8_t>& out) {
    out.assign(n, 0);
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        out.clear();
        return false;
    }
    size_t got = 0;
    while (got < n) {
        ssize_t r = ::read(fd.get(), out.data() + got, n - got);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        got += size_t(r);
    }
    out.resize(got);
    return true;
}

bool WriteFileAtomic(const std::string& path, const void* data, size_t size, std::string* error) {
    std::string folder = ParentFolder(path);
    // Errors name the file the caller asked for: the temporary one beside
    // it means nothing to whoever reads the message.
    std::string temp = path + ".tmp-XXXXXX";
    Fd fd(::mkstemp(temp.data()));
    if (fd.get() < 0) {
        SetError(error, "Cannot create", path);
        return false;
    }
    // mkstemp makes the file private; give it the usual permissions.
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd.get(), 0666 & ~mask);
    bool ok = WriteAll(fd.get(), static_cast<const uint8_t*>(data), size);
    if (!ok) SetError(error, "Cannot write", path);
    if (ok && ::fsync(fd.get()) != 0) {
        SetError(error, "Cannot write", path);
        ok = false;
    }
    if (::close(fd.release()) != 0 && ok) {
        SetError(error, "Cannot write", path);
        ok = false;
    }
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        SetError(error, "Cannot replace", path);
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // The rename itself must reach the disk too.
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
    ForgetFolderListing(folder);
    return true;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsFolderWritable(const std::string& path) {
    return FolderExists(path) && ::access(path.c_str(), W_OK | X_OK) == 0;
}

bool CreateFolders(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return FolderExists(path);
}

bool DeleteFile(const std::string& path) {
    bool ok = ::unlink(path.c_str()) == 0;
    if (ok) ForgetFolderListing(ParentFolder(path));
    return ok;
}

}  // namespace platform
