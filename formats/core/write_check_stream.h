#pragma once
// A pass-through stream that remembers whether any write stored fewer bytes than asked, so a
// writer (and the coding routines it calls, which cannot report) can tell a short write once.

#include "formats/core/ie_stream.h"

class TWriteCheckStream : public TStream {
public:
    explicit TWriteCheckStream(TStream& target) : FTarget(target) {}
    int64_t Read(void* buffer, int64_t count) override { return FTarget.Read(buffer, count); }
    int64_t Write(const void* buffer, int64_t count) override {
        const int64_t written = FTarget.Write(buffer, count);
        if (written != count) FFailed = true;
        return written;
    }
    int64_t Seek(int64_t offset, TSeekOrigin origin) override { return FTarget.Seek(offset, origin); }
    int64_t Size() override { return FTarget.Size(); }
    bool Failed() const { return FFailed; }

private:
    TStream& FTarget;
    bool FFailed = false;
};
