// POSIX side of the platform module: used by the native build (tests, fuzzing, benchmarks).
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform.h"

namespace quorvane {

namespace {

// Closes a file descriptor when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and reports whether the close itself succeeded (buffered write errors show here).
  bool close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// Converts with iconv; an input sequence that cannot be converted becomes `replacement` and the
// input moves on by `skip(rest)` bytes.
template <typename Skip>
std::string convert(const char* to, const char* from, std::string_view input,
                    std::string_view replacement, Skip skip) {
  iconv_t cd = ::iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(input);
  std::string out;
  char buffer[256];
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    const size_t result = ::iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    if (result == static_cast<size_t>(-1) && errno != E2BIG) {
      out += replacement;
      const size_t n = std::min(inLeft, skip(std::string_view(in, inLeft)));
      in += n;
      inLeft -= n;
    }
  }
  ::iconv_close(cd);
  return out;
}

size_t utf8SequenceLength(std::string_view rest) {
  const auto lead = static_cast<unsigned char>(rest[0]);
  size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  // Stop early at a byte that cannot continue the sequence.
  for (size_t k = 1; k < n; ++k) {
    if (k >= rest.size() || (static_cast<unsigned char>(rest[k]) & 0xC0) != 0x80) return k;
  }
  return n;
}

}  // namespace

Path pathFromAscii(std::string_view ascii) { return Path(ascii); }

Path executablePath() {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer);
  return n > 0 ? Path(buffer, static_cast<size_t>(n)) : Path();
}

std::optional<std::string> readWholeFile(const Path& file) {
  FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  std::string contents(static_cast<size_t>(info.st_size), '\0');
  size_t filled = 0;
  for (;;) {
    if (filled == contents.size()) contents.resize(contents.size() + 4096);
    const ssize_t n = ::read(fd.get(), contents.data() + filled, contents.size() - filled);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    filled += static_cast<size_t>(n);
  }
  contents.resize(filled);
  return contents;
}

bool replaceWholeFile(const Path& file, std::string_view contents) {
  struct stat info {};
  mode_t mode = 0644;
  if (::stat(file.c_str(), &info) == 0) {
    // The owner's write bit stands for Windows' read-only attribute; root could write anyway.
    if (S_ISDIR(info.st_mode) || (info.st_mode & S_IWUSR) == 0) return false;
    mode = info.st_mode & 07777;
  }
  Path temporary = file + ".XXXXXX";
  FileDescriptor fd(::mkstemp(temporary.data()));
  if (!fd.valid()) return false;
  const bool written = ::fchmod(fd.get(), mode) == 0 && writeAll(fd.get(), contents) &&
                       ::fsync(fd.get()) == 0 && fd.close() &&
                       ::rename(temporary.c_str(), file.c_str()) == 0;
  if (!written) ::unlink(temporary.c_str());
  return written;
}

bool isPresentAsFile(const Path& file) {
  struct stat info {};
  return ::stat(file.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

std::string gbkFromUtf8(std::string_view utf8) {
  return convert("CP936", "UTF-8", utf8, "?", utf8SequenceLength);
}

std::string utf8FromGbk(std::string_view gbk) {
  return convert("UTF-8", "CP936", gbk, "\xEF\xBF\xBD", [](std::string_view) { return size_t{1}; });
}

}  // namespace quorvane
