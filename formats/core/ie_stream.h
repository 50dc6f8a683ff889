#pragma once
// Byte streams that every codec reads from and writes to. Codecs see only TStream; the file
// streams exist for TImageIO and the command-line tools.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

enum TSeekOrigin : uint8_t { soBeginning, soCurrent, soEnd };

class TStream {
public:
    virtual ~TStream() = default;
    // Reads up to count bytes; returns how many were read (0 at the end).
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    // Writes count bytes; returns how many were written (fewer means the write failed).
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    // Moves the position and returns the new one; positions are clamped at 0.
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
    virtual int64_t Size() = 0;

    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t position) { Seek(position, soBeginning); }
    int64_t Remaining() { int64_t left = Size() - Position(); return left > 0 ? left : 0; }
    // Exact forms: true only when every byte moved.
    bool ReadBuffer(void* buffer, int64_t count) { return Read(buffer, count) == count; }
    bool WriteBuffer(const void* buffer, int64_t count) { return Write(buffer, count) == count; }
};

// Growable in-memory stream; also wraps a copy of given bytes for decoding.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    TMemoryStream(const void* data, size_t size);
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(FData.size()); }

    const uint8_t* Memory() const { return FData.data(); }
    std::vector<uint8_t>& Bytes() { return FData; }
    void Clear() { FData.clear(); FPosition = 0; }

private:
    std::vector<uint8_t> FData;
    int64_t FPosition = 0;
};

// Raised when a file cannot be opened or created; the message names the file.
class EFOpenError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class EFCreateError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file opened for reading (others may read, not write).
class TFileReadStream : public TStream {
public:
    explicit TFileReadStream(const std::string& fileName);  // throws EFOpenError
    ~TFileReadStream() override;
    TFileReadStream(const TFileReadStream&) = delete;
    TFileReadStream& operator=(const TFileReadStream&) = delete;
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void*, int64_t) override { return 0; }
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return FSize; }

private:
    int FFd = -1;
    int64_t FSize = 0;
    int64_t FPosition = 0;
};

// A file written atomically: bytes go to a temporary file beside the target, which replaces
// the target only on Commit(). Destroying an uncommitted stream removes the temporary file, so
// a failed write never leaves a partial file nor touches the old one.
class TAtomicFileWriteStream : public TStream {
public:
    explicit TAtomicFileWriteStream(const std::string& fileName);  // throws EFCreateError
    ~TAtomicFileWriteStream() override;
    TAtomicFileWriteStream(const TAtomicFileWriteStream&) = delete;
    TAtomicFileWriteStream& operator=(const TAtomicFileWriteStream&) = delete;
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override;
    // Flushes, syncs and renames over the target; false (and the target untouched) on failure.
    bool Commit();

private:
    std::string FTarget;
    std::string FTempName;
    int FFd = -1;
    bool FFailed = false;
};
