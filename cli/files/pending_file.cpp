#include "cli/files/pending_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <windows.h>
#include <io.h>
#else
#include <unistd.h>
#endif

#include "cli/files/error_text.h"

namespace sorvel::cli {
namespace {

constexpr const char* kInfix = ".sorvel-";

bool isSlash(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\';
#else
    return c == '/';
#endif
}

std::size_t nameStart(const std::string& path) {
    std::size_t i = path.size();
    while (i > 0 && !isSlash(path[i - 1])) --i;
#ifdef _WIN32
    if (i == 0 && path.size() >= 2 && path[1] == ':') i = 2;
#endif
    return i;
}

// Renames from over to, replacing an existing file (which std::rename does
// not do on Windows).
std::string replace(const std::string& from, const std::string& to) {
#ifdef _WIN32
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0) return "";
    return GetLastError() == ERROR_ACCESS_DENIED ? errorText(EACCES) : "the file cannot be renamed into place";
#else
    return std::rename(from.c_str(), to.c_str()) == 0 ? "" : errorText(errno);
#endif
}

// Creates name exclusively, with the permissions of the file it will
// replace where there is one. Returns the descriptor, or -1 with errno.
int createExclusive(const std::string& name, const std::string& replaced) {
#ifdef _WIN32
    (void)replaced;
    return _open(name.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    struct stat old {};
    if (fd >= 0 && stat(replaced.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        if (fchmod(fd, old.st_mode & 07777) != 0) {
            const int error = errno;
            close(fd);
            unlink(name.c_str());
            errno = error;
            return -1;
        }
    }
    return fd;
#endif
}

void closeFile(int fd) {
#ifdef _WIN32
    _close(fd);
#else
    close(fd);
#endif
}

bool allDigits(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

std::string folderOf(const std::string& path) { return path.substr(0, nameStart(path)); }
std::string nameOf(const std::string& path) { return path.substr(nameStart(path)); }

std::string followLinks(const std::string& path) {
#ifdef _WIN32
    return path;
#else
    std::string current = path;
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code error;
        if (!std::filesystem::is_symlink(current, error)) return current;
        const std::string link = std::filesystem::read_symlink(current, error).string();
        if (error) return current;
        current = !link.empty() && link[0] == '/' ? link : folderOf(current).append(link);
    }
    return current;
#endif
}

bool isSameFile(const std::string& a, const std::string& b) {
#ifdef _WIN32
    auto identify = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
        HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        const bool known = GetFileInformationByHandle(file, &info) != 0;
        CloseHandle(file);
        return known;
    };
    BY_HANDLE_FILE_INFORMATION x{}, y{};
    return identify(a, x) && identify(b, y) && x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
           x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
#else
    struct stat x {};
    struct stat y {};
    return stat(a.c_str(), &x) == 0 && stat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev && x.st_ino == y.st_ino;
#endif
}

void removeStaleTemporaries(const std::string& folder, const std::string& prefix,
                            const std::function<bool(const std::string&)>& restMatches) {
    std::error_code error;
    std::filesystem::directory_iterator entries(folder.empty() ? "." : folder, error);
    if (error) return;
    for (const auto& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::size_t dash = name.find('-', prefix.size());
        if (dash == std::string::npos) continue;
        const std::string id = name.substr(prefix.size(), dash - prefix.size());
        if (!allDigits(id) || id.size() > 9 || !restMatches(name.substr(dash))) continue;
        if (!processMayRun(std::stol(id))) std::remove((folder + name).c_str());
    }
}

std::string PendingFile::reserve(const std::string& target) {
    discard();
    target_ = followLinks(target);
    const std::string name = nameOf(target_);
    removeStaleTemporaries(folderOf(target_), name + kInfix, [](const std::string& rest) {
        return rest.size() > 5 && rest.compare(rest.size() - 4, 4, ".tmp") == 0 &&
               allDigits(rest.substr(1, rest.size() - 5));
    });
    const std::string stem = target_ + kInfix + std::to_string(thisProcessId()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary_ = stem + std::to_string(attempt) + ".tmp";
        const int fd = createExclusive(temporary_, target_);
        if (fd >= 0) {
            closeFile(fd);
            registered_.add(temporary_);
            pending_ = true;
            return "";
        }
        if (errno != EEXIST) return errorText(errno);
    }
    return errorText(EEXIST);
}

std::string PendingFile::commit() {
    std::string error = replace(temporary_, target_);
    if (!error.empty()) return error;
    registered_.clear();
    pending_ = false;
    return "";
}

void PendingFile::discard() {
    if (!pending_) return;
    std::remove(temporary_.c_str());
    registered_.clear();
    pending_ = false;
}

std::string writeWholeFile(const std::string& path, const std::string& bytes) {
    PendingFile file;
    std::string error = file.reserve(path);
    if (!error.empty()) return error;
    std::FILE* out = std::fopen(file.temporary().c_str(), "r+b");
    if (out == nullptr) return errorText(errno);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    const int writeErrno = errno;
    if (std::fclose(out) != 0 || !written) return errorText(written ? errno : writeErrno);
    return file.commit();
}

}  // namespace sorvel::cli
