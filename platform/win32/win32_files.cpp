// Files and directories: each operation is the one Win32 call it names.
#include <string>

#include "platform/win32/win32_parts.h"

namespace hw::win32 {
namespace {

FindData fromFindData(const WIN32_FIND_DATAA& w) {
  FindData d;
  d.attributes = w.dwFileAttributes;
  d.creationTime = fromFiletime(w.ftCreationTime);
  d.lastAccessTime = fromFiletime(w.ftLastAccessTime);
  d.lastWriteTime = fromFiletime(w.ftLastWriteTime);
  d.sizeHigh = w.nFileSizeHigh;
  d.sizeLow = w.nFileSizeLow;
  d.name = w.cFileName;
  return d;
}

class Win32Listing final : public DirectoryListing {
 public:
  explicit Win32Listing(HANDLE find) : find_(find) {}
  ~Win32Listing() override { FindClose(find_); }
  Win32Listing(const Win32Listing&) = delete;
  Win32Listing& operator=(const Win32Listing&) = delete;

  bool next(FindData& entry) override {
    WIN32_FIND_DATAA w;
    if (!FindNextFileA(find_, &w)) return false;
    entry = fromFindData(w);
    return true;
  }

 private:
  HANDLE find_;
};

class Win32File final : public File {
 public:
  explicit Win32File(HANDLE handle) : handle_(handle) {}
  ~Win32File() override { close(); }
  Win32File(const Win32File&) = delete;
  Win32File& operator=(const Win32File&) = delete;

  Status read(void* buffer, std::uint32_t size, std::uint32_t& got) override {
    DWORD n = 0;
    BOOL ok = ReadFile(handle_, buffer, size, &n, nullptr);
    got = n;
    return ok ? Status::ok : lastError();
  }

  Status write(const void* buffer, std::uint32_t size, std::uint32_t& written) override {
    DWORD n = 0;
    BOOL ok = WriteFile(handle_, buffer, size, &n, nullptr);
    written = n;
    return ok ? Status::ok : lastError();
  }

  Status getTimes(FileTime* creation, FileTime* lastAccess, FileTime* lastWrite) override {
    FILETIME c, a, w;
    if (!GetFileTime(handle_, &c, &a, &w)) return lastError();
    if (creation) *creation = fromFiletime(c);
    if (lastAccess) *lastAccess = fromFiletime(a);
    if (lastWrite) *lastWrite = fromFiletime(w);
    return Status::ok;
  }

  Status setTimes(const FileTime* creation, const FileTime* lastAccess,
                  const FileTime* lastWrite) override {
    return setHandleTimes(handle_, creation, lastAccess, lastWrite);
  }

  Status size(std::uint64_t& bytes) override {
    LARGE_INTEGER n;
    if (!GetFileSizeEx(handle_, &n)) return lastError();
    bytes = static_cast<std::uint64_t>(n.QuadPart);
    return Status::ok;
  }

  Status close() override {
    if (handle_ == INVALID_HANDLE_VALUE) return Status::ok;
    HANDLE h = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return CloseHandle(h) ? Status::ok : lastError();
  }

  static Status setHandleTimes(HANDLE h, const FileTime* creation, const FileTime* lastAccess,
                               const FileTime* lastWrite) {
    FILETIME c, a, w;
    if (creation) c = toFiletime(*creation);
    if (lastAccess) a = toFiletime(*lastAccess);
    if (lastWrite) w = toFiletime(*lastWrite);
    BOOL ok = SetFileTime(h, creation ? &c : nullptr, lastAccess ? &a : nullptr,
                          lastWrite ? &w : nullptr);
    return ok ? Status::ok : lastError();
  }

 private:
  HANDLE handle_;
};

std::unique_ptr<File> openFile(const std::string& path, DWORD access, DWORD share,
                               DWORD disposition, Status& status) {
  HANDLE h = CreateFileA(path.c_str(), access, share, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    status = lastError();
    return nullptr;
  }
  status = Status::ok;
  return std::make_unique<Win32File>(h);
}

// A directory handle for its times only. FILE_FLAG_BACKUP_SEMANTICS is what
// lets CreateFile open a directory at all.
HANDLE openDirectory(const std::string& path, DWORD access) {
  return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

class Win32FileSystem final : public FileSystem {
 public:
  std::unique_ptr<DirectoryListing> findFirst(const std::string& pattern, FindData& first,
                                              Status& status) override {
    WIN32_FIND_DATAA w;
    HANDLE h = FindFirstFileA(pattern.c_str(), &w);
    if (h == INVALID_HANDLE_VALUE) {
      status = lastError();
      return nullptr;
    }
    first = fromFindData(w);
    status = Status::ok;
    return std::make_unique<Win32Listing>(h);
  }

  std::unique_ptr<File> openRead(const std::string& path, Status& status) override {
    return openFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, status);
  }

  std::unique_ptr<File> create(const std::string& path, Status& status) override {
    return openFile(path, GENERIC_WRITE, 0, CREATE_ALWAYS, status);
  }

  std::unique_ptr<File> openReadWrite(const std::string& path, Status& status) override {
    return openFile(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS, status);
  }

  Status getAttributes(const std::string& path, std::uint32_t& attributes) override {
    attributes = GetFileAttributesA(path.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES ? lastError() : Status::ok;
  }

  Status setAttributes(const std::string& path, std::uint32_t attributes) override {
    return SetFileAttributesA(path.c_str(), attributes) ? Status::ok : lastError();
  }

  Status deleteFile(const std::string& path) override {
    return DeleteFileA(path.c_str()) ? Status::ok : lastError();
  }

  Status createDirectory(const std::string& path) override {
    return CreateDirectoryA(path.c_str(), nullptr) ? Status::ok : lastError();
  }

  Status removeDirectory(const std::string& path) override {
    return RemoveDirectoryA(path.c_str()) ? Status::ok : lastError();
  }

  Status setDirectoryTimes(const std::string& path, const FileTime* creation,
                           const FileTime* lastAccess, const FileTime* lastWrite) override {
    HANDLE h = openDirectory(path, FILE_WRITE_ATTRIBUTES);
    if (h == INVALID_HANDLE_VALUE) return lastError();
    Status s = Win32File::setHandleTimes(h, creation, lastAccess, lastWrite);
    CloseHandle(h);
    return s;
  }

  Status getDirectoryTimes(const std::string& path, FileTime* creation, FileTime* lastAccess,
                           FileTime* lastWrite) override {
    HANDLE h = openDirectory(path, FILE_READ_ATTRIBUTES);
    if (h == INVALID_HANDLE_VALUE) return lastError();
    Win32File dir(h);  // closes the handle
    return dir.getTimes(creation, lastAccess, lastWrite);
  }

  Status setCurrentDirectory(const std::string& path) override {
    return SetCurrentDirectoryA(path.c_str()) ? Status::ok : lastError();
  }

  std::string windowsDirectory() override {
    char buffer[MAX_PATH + 1];
    UINT n = GetWindowsDirectoryA(buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer) return {};
    std::string dir(buffer, n);
    if (dir.size() > 1 && dir.back() == '\\') dir.pop_back();
    return dir;
  }
};

}  // namespace

std::unique_ptr<FileSystem> makeFileSystem() { return std::make_unique<Win32FileSystem>(); }

}  // namespace hw::win32
