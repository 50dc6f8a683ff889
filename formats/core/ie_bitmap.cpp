#include "formats/core/ie_bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <new>
#include <string>
#include <sys/mman.h>
#include <sys/sysinfo.h>
#include <unistd.h>

namespace {

// Half of the physical memory free at creation; 32 MiB when the figure is unknown.
int64_t DefaultMinFileSize()
{
    struct sysinfo info{};
    int64_t avail = 0;
    if (::sysinfo(&info) == 0) avail = int64_t(info.freeram) * info.mem_unit;
    return avail > 0 ? avail / 2 : int64_t(33554432);
}

}  // namespace

// An unlinked temporary file mapped whole: the pixels stay pageable to disk, and nothing is
// left behind if the process dies.
struct TIEBitmap::TMapping {
    void* Address = MAP_FAILED;
    size_t Size = 0;

    static std::unique_ptr<TMapping> Create(size_t size)
    {
        const char* dir = std::getenv("TMPDIR");
        std::string name = std::string(dir && *dir ? dir : "/tmp") + "/numerak-bitmap-XXXXXX";
        int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0) return nullptr;
        ::unlink(name.c_str());
        std::unique_ptr<TMapping> m;
        if (::ftruncate(fd, off_t(size)) == 0) {
            void* address = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
            if (address != MAP_FAILED) {
                m = std::make_unique<TMapping>();
                m->Address = address;
                m->Size = size;
            }
        }
        ::close(fd);
        return m;
    }
    ~TMapping()
    {
        if (Address != MAP_FAILED) ::munmap(Address, Size);
    }
};

TIEBitmap::TIEBitmap() : MinFileSize(DefaultMinFileSize()) {}

TIEBitmap::~TIEBitmap() = default;

void TIEBitmap::ReleasePixels()
{
    FPixels = nullptr;
    FHeap.reset();
    FMapping.reset();
}

void TIEBitmap::FreeImage()
{
    ReleasePixels();
    FPalette.reset();
    FAlpha.reset();
    FWidth = FHeight = 0;
    FBitCount = 0;
    FRowLen = 0;
    FPixelFormat = ipfNone;
}

void TIEBitmap::Allocate(int32_t width, int32_t height, TImagePixelFormat format)
{
    FreeImage();
    if (width <= 0 || height <= 0 || format == ipfNone || format > ipf24RGB) return;
    const uint32_t bits = IEBitsPerPixel[format];
    const int64_t rowLen = IERowLen(width, bits);
    if (rowLen > std::numeric_limits<int32_t>::max()) throw std::bad_alloc();
    const int64_t size = rowLen * height;  // at most 2^31 × 2^31, fits in 64 bits
    if (uint64_t(size) > std::numeric_limits<size_t>::max()) throw std::bad_alloc();

    if (FStorage == bsMappedFile && size <= std::numeric_limits<uint32_t>::max() && size < MinFileSize)
        FStorage = bsMemory;
    else if (FStorage == bsMemory && (size > std::numeric_limits<uint32_t>::max() || size > MinFileSize))
        FStorage = bsMappedFile;

    if (FStorage == bsMappedFile) {
        FMapping = TMapping::Create(size_t(size));
        if (FMapping) FPixels = static_cast<uint8_t*>(FMapping->Address);
        else FStorage = bsMemory;
    }
    if (FStorage == bsMemory) {
        FHeap.reset(new uint8_t[size_t(size)]);  // pixels stay undefined, as documented
        FPixels = FHeap.get();
    }
    if (format == ipf8Palette) FPalette = std::make_unique<TRGB[]>(256);
    FWidth = width;
    FHeight = height;
    FBitCount = bits;
    FRowLen = int32_t(rowLen);
    FPixelFormat = format;
}

uint8_t* TIEBitmap::ScanLine(int32_t y)
{
    const int64_t row = FStorage == bsMemory ? int64_t(FHeight - 1 - y) : int64_t(y);
    return FPixels + row * FRowLen;
}

const uint8_t* TIEBitmap::ScanLine(int32_t y) const
{
    return const_cast<TIEBitmap*>(this)->ScanLine(y);
}

void TIEBitmap::Fill(uint8_t value)
{
    for (int32_t y = 0; y < FHeight; ++y) std::memset(ScanLine(y), value, size_t(FRowLen));
}

namespace {

// Copies the overlapping rows of source into a freshly allocated target.
void CopyOverlap(const TIEBitmap& source, TIEBitmap& target)
{
    const int32_t rows = std::min(source.Height(), target.Height());
    const size_t bytes = size_t(std::min(source.RowLen(), target.RowLen()));
    for (int32_t y = 0; y < rows; ++y) std::memcpy(target.ScanLine(y), source.ScanLine(y), bytes);
}

}  // namespace

void TIEBitmap::TakeImage(TIEBitmap& from)
{
    FHeap = std::move(from.FHeap);
    FMapping = std::move(from.FMapping);
    FPalette = std::move(from.FPalette);
    FPixels = from.FPixels;
    FStorage = from.FStorage;
    FWidth = from.FWidth;
    FHeight = from.FHeight;
    FBitCount = from.FBitCount;
    FRowLen = from.FRowLen;
    FPixelFormat = from.FPixelFormat;
    from.FPixels = nullptr;
}

void TIEBitmap::Resize(int32_t width, int32_t height)
{
    if (width == FWidth && height == FHeight) return;
    TIEBitmap resized;
    resized.SetStorage(FStorage);
    resized.MinFileSize = MinFileSize;
    resized.Allocate(width, height, FPixelFormat);
    CopyOverlap(*this, resized);
    if (FPalette && resized.FPalette) std::copy_n(FPalette.get(), 256, resized.FPalette.get());
    std::unique_ptr<TIEBitmap> alpha = std::move(FAlpha);
    TakeImage(resized);
    if (alpha && !Empty()) {
        alpha->Resize(width, height);
        FAlpha = std::move(alpha);
    }
}

void TIEBitmap::SetWidth(int32_t width) { Resize(width, FHeight); }

void TIEBitmap::SetHeight(int32_t height) { Resize(FWidth, height); }

void TIEBitmap::Assign(const TIEBitmap& source)
{
    if (&source == this) return;
    Allocate(source.FWidth, source.FHeight, source.FPixelFormat);
    CopyOverlap(source, *this);
    if (source.FPalette && FPalette) std::copy_n(source.FPalette.get(), 256, FPalette.get());
    BlackWhiteMethod = source.BlackWhiteMethod;
    if (source.FAlpha) {
        FAlpha = std::make_unique<TIEBitmap>();
        FAlpha->IsAlphaChannel = true;
        FAlpha->SetStorage(FStorage);
        FAlpha->Assign(*source.FAlpha);
    }
}

TIEBitmap* TIEBitmap::AlphaChannel()
{
    if (IsAlphaChannel) return nullptr;  // an alpha plane has no plane of its own
    if (!FAlpha) {
        FAlpha = std::make_unique<TIEBitmap>();
        FAlpha->IsAlphaChannel = true;
        FAlpha->SetStorage(FStorage);
        FAlpha->MinFileSize = MinFileSize;
        FAlpha->Allocate(FWidth, FHeight, ipf8Gray);
        FAlpha->Fill(255);
    }
    return FAlpha.get();
}

void TIEBitmap::ReplaceAlphaChannel(std::unique_ptr<TIEBitmap> mask)
{
    if (!mask || IsAlphaChannel) {
        FAlpha.reset();
        return;
    }
    mask->IsAlphaChannel = true;
    if (mask->PixelFormat() != ipf8Gray) mask->ConvertTo(ipf8Gray);
    mask->Resize(FWidth, FHeight);
    FAlpha = std::move(mask);
}
