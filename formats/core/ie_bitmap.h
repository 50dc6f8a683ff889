#pragma once
// TIEBitmap: the pixel buffer every reader fills and every writer, printer and view reads.
// Rows are padded to 4 bytes; 24-bit pixels are blue, green, red; 1-bit rows hold the leftmost
// pixel in the most significant bit, 0 black and 1 white. Row 0 is the top row.
//
// Storage: bsMemory keeps one heap block with rows stored bottom-up; bsMappedFile keeps the
// pixels in an unlinked temporary file mapped whole into memory. In both, a ScanLine pointer
// stays valid until the image is reallocated or freed. Allocation throws std::bad_alloc when
// neither a block nor a mapping can be had.

#include <cstdint>
#include <memory>

enum TImagePixelFormat : uint8_t { ipfNone, ipf1Bit, ipf8Palette, ipf8Gray, ipf16Gray, ipf24RGB };
enum TBitmapStorage : uint8_t { bsMemory, bsMappedFile };

// A colour triple in Windows RGBTRIPLE order.
struct TRGB {
    uint8_t b = 0, g = 0, r = 0;
    friend bool operator==(const TRGB&, const TRGB&) = default;
};
inline constexpr TRGB CreateRGB(uint8_t r, uint8_t g, uint8_t b) { return TRGB{b, g, r}; }

// Bits per pixel of each pixel format, indexed by its value.
inline constexpr uint32_t IEBitsPerPixel[] = {0, 1, 8, 8, 16, 24};

// Bytes per row of an image: ((width × bits + 31) div 32) × 4.
inline constexpr int64_t IERowLen(int64_t width, uint32_t bits) { return ((width * bits + 31) / 32) * 4; }

// Luminance used by every conversion: (R × 21 + G × 71 + B × 8) div 100.
inline constexpr int IELuminance(const TRGB& c) { return (c.r * 21 + c.g * 71 + c.b * 8) / 100; }

class TIEBitmap {
public:
    TIEBitmap();
    ~TIEBitmap();
    TIEBitmap(const TIEBitmap&) = delete;
    TIEBitmap& operator=(const TIEBitmap&) = delete;

    int32_t Width() const { return FWidth; }
    int32_t Height() const { return FHeight; }
    uint32_t BitCount() const { return FBitCount; }
    int32_t RowLen() const { return FRowLen; }
    TImagePixelFormat PixelFormat() const { return FPixelFormat; }
    bool Empty() const { return FPixels == nullptr; }

    // 256 entries for ipf8Palette, else null.
    TRGB* Palette() { return FPalette.get(); }
    const TRGB* Palette() const { return FPalette.get(); }
    int32_t PaletteCount() const { return FPalette ? 256 : 0; }

    TBitmapStorage Storage() const { return FStorage; }
    // Takes effect at the next Allocate.
    void SetStorage(TBitmapStorage storage) { FStorage = storage; }

    uint8_t BlackWhiteMethod = 1;  // 0 ordered dither, 1 threshold at the mean luminance
    int64_t MinFileSize;           // images above this many bytes live in a mapped file
    bool IsAlphaChannel = false;

    // Frees the current image and allocates width × height pixels of format (pixels undefined).
    // Non-positive sizes or ipfNone leave the bitmap empty.
    void Allocate(int32_t width, int32_t height, TImagePixelFormat format);
    // Address of row y (0 at the top).
    uint8_t* ScanLine(int32_t y);
    const uint8_t* ScanLine(int32_t y) const;

    // Change one dimension, keeping the overlapping pixels; the alpha channel follows.
    void SetWidth(int32_t width);
    void SetHeight(int32_t height);
    // Converts in place; nothing happens when the format is already the current one.
    void ConvertTo(TImagePixelFormat format);
    // Copies size, format, pixels, palette, BlackWhiteMethod and alpha channel.
    void Assign(const TIEBitmap& source);
    // Sets every byte of every row.
    void Fill(uint8_t value);
    void FreeImage();

    // ipf8Gray plane of the same size, created filled with 255 on first access.
    TIEBitmap* AlphaChannel();
    bool HasAlphaChannel() const { return FAlpha != nullptr; }
    void FreeAlphaChannel() { FAlpha.reset(); }
    // Installs a transparency mask made by a reader (resized to this image when it differs).
    void ReplaceAlphaChannel(std::unique_ptr<TIEBitmap> mask);

private:
    struct TMapping;
    void ReleasePixels();
    // Moves pixels, palette and shape (not the alpha plane) out of from.
    void TakeImage(TIEBitmap& from);
    void Resize(int32_t width, int32_t height);

    int32_t FWidth = 0;
    int32_t FHeight = 0;
    uint32_t FBitCount = 0;
    int32_t FRowLen = 0;
    TImagePixelFormat FPixelFormat = ipfNone;
    std::unique_ptr<TRGB[]> FPalette;
    std::unique_ptr<TIEBitmap> FAlpha;
    TBitmapStorage FStorage = bsMappedFile;
    uint8_t* FPixels = nullptr;      // start of the heap block or of the mapping
    std::unique_ptr<uint8_t[]> FHeap;
    std::unique_ptr<TMapping> FMapping;
};
