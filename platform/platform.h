// The platform boundary: everything the portable core needs from the operating
// system, with the Win32 meaning kept (FindFirstFile order and fields, DOS
// attribute bits, FILETIME, profile-string rules, drive types, free-space
// figures). Two implementations: platform/win32 (the real calls) and
// platform/host (drive letters mapped onto folders, with fault injection).
//
// Failures come back as Win32 error numbers (`Status`), turned into them once
// at the boundary; nothing above this header looks at errno or GetLastError.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace hw {

// Win32 error numbers, so the win32 side maps GetLastError() one to one.
enum class Status : std::uint32_t {
  ok = 0,
  fileNotFound = 2,       // ERROR_FILE_NOT_FOUND
  pathNotFound = 3,       // ERROR_PATH_NOT_FOUND
  accessDenied = 5,       // ERROR_ACCESS_DENIED
  invalidHandle = 6,      // ERROR_INVALID_HANDLE
  notEnoughMemory = 8,    // ERROR_NOT_ENOUGH_MEMORY
  invalidDrive = 15,      // ERROR_INVALID_DRIVE
  noMoreFiles = 18,       // ERROR_NO_MORE_FILES
  writeProtect = 19,      // ERROR_WRITE_PROTECT
  notReady = 21,          // ERROR_NOT_READY (no medium in the drive)
  writeFault = 29,        // ERROR_WRITE_FAULT
  readFault = 30,         // ERROR_READ_FAULT
  sharingViolation = 32,  // ERROR_SHARING_VIOLATION
  handleDiskFull = 39,    // ERROR_HANDLE_DISK_FULL
  notSupported = 50,      // ERROR_NOT_SUPPORTED
  fileExists = 80,        // ERROR_FILE_EXISTS
  invalidParameter = 87,  // ERROR_INVALID_PARAMETER
  diskFull = 112,         // ERROR_DISK_FULL
  invalidName = 123,      // ERROR_INVALID_NAME
  dirNotEmpty = 145,      // ERROR_DIR_NOT_EMPTY
  alreadyExists = 183,    // ERROR_ALREADY_EXISTS
  filenameTooLong = 206,  // ERROR_FILENAME_EXCED_RANGE
  mediaChanged = 1110,    // ERROR_MEDIA_CHANGED
  noMediaInDrive = 1112,  // ERROR_NO_MEDIA_IN_DRIVE
  ioDevice = 1117,        // ERROR_IO_DEVICE
};

inline bool succeeded(Status s) { return s == Status::ok; }

// DOS attribute bits (FILE_ATTRIBUTE_*).
inline constexpr std::uint32_t kAttrReadOnly = 0x01;
inline constexpr std::uint32_t kAttrHidden = 0x02;
inline constexpr std::uint32_t kAttrSystem = 0x04;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;
inline constexpr std::uint32_t kAttrNormal = 0x80;
inline constexpr std::uint32_t kInvalidAttributes = 0xFFFFFFFF;

// FILETIME: 100-nanosecond intervals since 1601-01-01 UTC, in two halves.
struct FileTime {
  std::uint32_t low = 0;
  std::uint32_t high = 0;

  std::uint64_t value() const { return (std::uint64_t{high} << 32) | low; }
  static FileTime fromValue(std::uint64_t v) {
    return FileTime{static_cast<std::uint32_t>(v), static_cast<std::uint32_t>(v >> 32)};
  }
  bool isZero() const { return low == 0 && high == 0; }
  friend bool operator==(const FileTime&, const FileTime&) = default;
};

// SYSTEMTIME, field for field.
struct SystemTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;      // 1..12
  std::uint16_t dayOfWeek = 0;  // 0 = Sunday
  std::uint16_t day = 0;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint16_t milliseconds = 0;
  friend bool operator==(const SystemTime&, const SystemTime&) = default;
};

// WIN32_FIND_DATAA, the fields the program uses.
struct FindData {
  std::uint32_t attributes = 0;
  FileTime creationTime;
  FileTime lastAccessTime;
  FileTime lastWriteTime;
  std::uint32_t sizeHigh = 0;
  std::uint32_t sizeLow = 0;
  std::string name;

  std::uint64_t size() const { return (std::uint64_t{sizeHigh} << 32) | sizeLow; }
  bool isDirectory() const { return (attributes & kAttrDirectory) != 0; }
};

// An open file (CreateFileA handle). Destruction closes it; close() reports
// the result of the close itself, which is where some write errors surface.
class File {
 public:
  virtual ~File() = default;
  // ReadFile: `got` < `size` only at the end of the file.
  virtual Status read(void* buffer, std::uint32_t size, std::uint32_t& got) = 0;
  // WriteFile: `written` may be short of `size` when the status says why.
  virtual Status write(const void* buffer, std::uint32_t size, std::uint32_t& written) = 0;
  // GetFileTime / SetFileTime; a null pointer leaves that time alone.
  virtual Status getTimes(FileTime* creation, FileTime* lastAccess, FileTime* lastWrite) = 0;
  virtual Status setTimes(const FileTime* creation, const FileTime* lastAccess,
                          const FileTime* lastWrite) = 0;
  virtual Status size(std::uint64_t& bytes) = 0;
  virtual Status close() = 0;
};

// The rest of a FindFirstFileA listing (FindNextFileA ... FindClose).
class DirectoryListing {
 public:
  virtual ~DirectoryListing() = default;
  virtual bool next(FindData& entry) = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // FindFirstFileA: `pattern` is "dir\\*.*", "dir\\*" or an exact path.
  // Entries come in the platform's own listing order, "." and ".." included
  // for a wildcard listing of a directory other than a root, as on Windows.
  // Null (with `status` set) when nothing matches.
  virtual std::unique_ptr<DirectoryListing> findFirst(const std::string& pattern,
                                                      FindData& first, Status& status) = 0;

  // CreateFileA(GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING).
  virtual std::unique_ptr<File> openRead(const std::string& path, Status& status) = 0;
  // CreateFileA(GENERIC_WRITE, no sharing, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL).
  virtual std::unique_ptr<File> create(const std::string& path, Status& status) = 0;
  // CreateFileA(GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS): for appending text files.
  virtual std::unique_ptr<File> openReadWrite(const std::string& path, Status& status) = 0;

  virtual Status getAttributes(const std::string& path, std::uint32_t& attributes) = 0;
  virtual Status setAttributes(const std::string& path, std::uint32_t attributes) = 0;
  virtual Status deleteFile(const std::string& path) = 0;
  virtual Status createDirectory(const std::string& path) = 0;
  virtual Status removeDirectory(const std::string& path) = 0;
  // Times of a directory, set directly (a handle opened with
  // FILE_FLAG_BACKUP_SEMANTICS on Windows), so the clock is never touched.
  virtual Status setDirectoryTimes(const std::string& path, const FileTime* creation,
                                   const FileTime* lastAccess, const FileTime* lastWrite) = 0;
  virtual Status getDirectoryTimes(const std::string& path, FileTime* creation,
                                   FileTime* lastAccess, FileTime* lastWrite) = 0;
  // SetCurrentDirectoryA: the folder test of the program.
  virtual Status setCurrentDirectory(const std::string& path) = 0;
  // GetWindowsDirectoryA, without a trailing backslash ("C:\\WINDOWS").
  virtual std::string windowsDirectory() = 0;
};

// GetDriveTypeA answers.
enum class DriveType : std::uint32_t {
  unknown = 0,    // DRIVE_UNKNOWN
  noRootDir = 1,  // DRIVE_NO_ROOT_DIR
  removable = 2,  // DRIVE_REMOVABLE
  fixed = 3,      // DRIVE_FIXED
  remote = 4,     // DRIVE_REMOTE
  cdrom = 5,      // DRIVE_CDROM
  ramdisk = 6,    // DRIVE_RAMDISK
};

// GetDiskFreeSpaceA answers.
struct DiskFreeSpace {
  std::uint32_t sectorsPerCluster = 0;
  std::uint32_t bytesPerSector = 0;
  std::uint32_t freeClusters = 0;
  std::uint32_t totalClusters = 0;
};

// GetVolumeInformationA answers.
struct VolumeInfo {
  std::string label;
  std::uint32_t serial = 0;
  std::uint32_t maxComponentLength = 0;
  std::uint32_t fileSystemFlags = 0;
  std::string fileSystem;
};

class Volumes {
 public:
  virtual ~Volumes() = default;
  // GetLogicalDrives: bit 0 is A:.
  virtual std::uint32_t logicalDrives() = 0;
  // Roots are written "A:\\".
  virtual DriveType driveType(const std::string& root) = 0;
  virtual Status diskFreeSpace(const std::string& root, DiskFreeSpace& space) = 0;
  virtual Status volumeInformation(const std::string& root, VolumeInfo& info) = 0;
  virtual Status setVolumeLabel(const std::string& root, const std::string& label) = 0;
  // GetVersion: low byte major, next byte minor.
  virtual std::uint32_t version() = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // GetTickCount: milliseconds, wrapping at 2^32.
  virtual std::uint32_t tickCount() = 0;
  virtual SystemTime localTime() = 0;   // GetLocalTime
  virtual SystemTime systemTime() = 0;  // GetSystemTime
  virtual bool fileTimeToSystemTime(FileTime time, SystemTime& out) = 0;
  virtual bool systemTimeToFileTime(const SystemTime& time, FileTime& out) = 0;
  virtual bool fileTimeToLocalFileTime(FileTime time, FileTime& out) = 0;
  // Sleep: a fake clock just moves on.
  virtual void sleep(std::uint32_t milliseconds) = 0;
};

// GetPrivateProfileStringA / WritePrivateProfileStringA over a named file.
class Profile {
 public:
  virtual ~Profile() = default;
  // Returns what GetPrivateProfileStringA copies into a buffer of `capacity`
  // characters (without the terminating zero). A null section lists the
  // section names, a null key the keys of the section, each name followed by
  // a '\0' as in the buffer.
  virtual std::string getString(const std::string& file, const char* section, const char* key,
                                const char* defaultValue, std::uint32_t capacity) = 0;
  // A null key deletes the section, a null value deletes the key.
  virtual bool writeString(const std::string& file, const char* section, const char* key,
                           const char* value) = 0;
};

enum class RegistryRoot { classesRoot, currentUser, localMachine };

class Registry {
 public:
  virtual ~Registry() = default;
  // String values (REG_SZ); an empty value name is the key's default value.
  virtual Status queryString(RegistryRoot root, const std::string& subKey,
                             const std::string& valueName, std::string& value) = 0;
  // Creates the key when it is missing.
  virtual Status setString(RegistryRoot root, const std::string& subKey,
                           const std::string& valueName, const std::string& value) = 0;
};

// One platform: each object of the core is given this at construction.
class Platform {
 public:
  virtual ~Platform() = default;
  virtual FileSystem& files() = 0;
  virtual Volumes& volumes() = 0;
  virtual Clock& clock() = 0;
  virtual Profile& profile() = 0;
  virtual Registry& registry() = 0;
  // The folder the program runs from (its settings file lives there).
  virtual std::string programDirectory() = 0;
  // Where a person would have to swap media, the host platform can do it
  // itself: put medium `number` (1-based) into removable drive `letter`,
  // created blank when missing. False where media are swapped by hand.
  virtual bool insertMedium(char letter, int number) = 0;
  // Which medium is in a removable drive: 0 for none or not known.
  virtual int currentMedium(char letter) = 0;
};

}  // namespace hw
