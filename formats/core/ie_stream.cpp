#include "formats/core/ie_stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int64_t ClampedTarget(int64_t offset, TSeekOrigin origin, int64_t position, int64_t size)
{
    int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position : size;
    int64_t target = base + offset;
    return target < 0 ? 0 : target;
}

std::string ErrorText(const std::string& what, const std::string& fileName)
{
    return what + " \"" + fileName + "\": " + std::strerror(errno);
}

}  // namespace

// --- TMemoryStream

TMemoryStream::TMemoryStream(const void* data, size_t size)
    : FData(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size)
{
}

int64_t TMemoryStream::Read(void* buffer, int64_t count)
{
    int64_t left = Size() - FPosition;
    int64_t n = std::min(count, left);
    if (n <= 0) return 0;
    std::memcpy(buffer, FData.data() + FPosition, size_t(n));
    FPosition += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count)
{
    if (count <= 0) return 0;
    int64_t end = FPosition + count;
    if (end > Size()) {
        // Grow geometrically so that row-by-row writers stay linear.
        if (size_t(end) > FData.capacity()) FData.reserve(std::max(size_t(end), FData.capacity() * 2));
        FData.resize(size_t(end));
    }
    std::memcpy(FData.data() + FPosition, buffer, size_t(count));
    FPosition = end;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin)
{
    FPosition = ClampedTarget(offset, origin, FPosition, Size());
    return FPosition;
}

// --- TFileReadStream

TFileReadStream::TFileReadStream(const std::string& fileName)
{
    FFd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (FFd < 0) throw EFOpenError(ErrorText("Cannot open file", fileName));
    struct stat st{};
    if (::fstat(FFd, &st) != 0 || S_ISDIR(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : errno;
        std::string text = ErrorText("Cannot open file", fileName);
        ::close(FFd);
        throw EFOpenError(text);
    }
    FSize = st.st_size;
}

TFileReadStream::~TFileReadStream()
{
    if (FFd >= 0) ::close(FFd);
}

int64_t TFileReadStream::Read(void* buffer, int64_t count)
{
    int64_t done = 0;
    auto* out = static_cast<uint8_t*>(buffer);
    while (done < count) {
        ssize_t n = ::pread(FFd, out + done, size_t(count - done), FPosition + done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    FPosition += done;
    return done;
}

int64_t TFileReadStream::Seek(int64_t offset, TSeekOrigin origin)
{
    FPosition = ClampedTarget(offset, origin, FPosition, FSize);
    return FPosition;
}

// --- TAtomicFileWriteStream

TAtomicFileWriteStream::TAtomicFileWriteStream(const std::string& fileName) : FTarget(fileName)
{
    size_t slash = fileName.find_last_of('/');
    std::string folder = slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    FTempName = folder + "." + base + ".XXXXXX";
    FFd = ::mkostemp(FTempName.data(), O_CLOEXEC);
    if (FFd < 0) throw EFCreateError(ErrorText("Cannot create file", fileName));
    // Keep the mode of the file being replaced; a new file gets the usual 0666 less umask.
    struct stat st{};
    mode_t mode;
    if (::stat(fileName.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(FFd, mode);
}

TAtomicFileWriteStream::~TAtomicFileWriteStream()
{
    if (FFd >= 0) {
        ::close(FFd);
        ::unlink(FTempName.c_str());
    }
}

int64_t TAtomicFileWriteStream::Read(void* buffer, int64_t count)
{
    if (FFd < 0) return 0;
    int64_t done = 0;
    auto* out = static_cast<uint8_t*>(buffer);
    while (done < count) {
        ssize_t n = ::read(FFd, out + done, size_t(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

int64_t TAtomicFileWriteStream::Write(const void* buffer, int64_t count)
{
    if (FFd < 0 || FFailed) return 0;
    int64_t done = 0;
    auto* in = static_cast<const uint8_t*>(buffer);
    while (done < count) {
        ssize_t n = ::write(FFd, in + done, size_t(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) { FFailed = true; break; }
        done += n;
    }
    return done;
}

int64_t TAtomicFileWriteStream::Seek(int64_t offset, TSeekOrigin origin)
{
    if (FFd < 0) return 0;
    int64_t target = ClampedTarget(offset, origin, ::lseek(FFd, 0, SEEK_CUR), Size());
    return ::lseek(FFd, target, SEEK_SET);
}

int64_t TAtomicFileWriteStream::Size()
{
    struct stat st{};
    return FFd >= 0 && ::fstat(FFd, &st) == 0 ? st.st_size : 0;
}

bool TAtomicFileWriteStream::Commit()
{
    if (FFd < 0) return false;
    bool ok = !FFailed && ::fsync(FFd) == 0;
    ok = ::close(FFd) == 0 && ok;
    FFd = -1;
    if (ok && ::rename(FTempName.c_str(), FTarget.c_str()) == 0) return true;
    ::unlink(FTempName.c_str());
    return false;
}
