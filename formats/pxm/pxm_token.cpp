#include "formats/pxm/pxm.h"
#include "formats/pxm/pxm_token.h"

#include <climits>

namespace {

bool IsWordByte(int b) { return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9'); }
bool IsBlankOrControl(unsigned char c) { return c <= ' ' || c == 0x7F; }

}  // namespace

std::string TPxmByteSource::Token() {
    int b;
    while ((b = Next()) >= 0 && b != '#' && !IsWordByte(b)) {}
    std::string token;
    if (b < 0) return token;
    if (b == '#') {
        while ((b = Next()) >= 0 && b != '\r' && b != '\n') token += char(b);
        size_t first = 0, last = token.size();
        while (first < last && IsBlankOrControl(token[first])) ++first;
        while (last > first && IsBlankOrControl(token[last - 1])) --last;
        return "#" + token.substr(first, last - first);
    }
    do token += char(b);
    while ((b = Next()) >= 0 && IsWordByte(b));
    return token;
}

int PxmTokenValue(const std::string& token) {
    if (token.empty()) return -1;
    long long value = 0;
    for (char c : token) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
        if (value > INT_MAX) return -1;
    }
    return int(value);
}

std::string ReadPxmToken(TStream& stream) {
    TPxmByteSource source(stream);
    std::string token = source.Token();
    source.Sync();
    return token;
}

bool IsPxm(TStream& stream) {
    const int64_t start = stream.Position();
    TPxmByteSource source(stream);
    std::string magic;
    int width = 0, height = 0;
    for (int tokens = 0; tokens < 501; ++tokens) {
        const std::string token = source.Token();
        if (token.empty()) break;
        if (token[0] == '#') continue;
        if (magic.empty()) {
            magic = token;
            if (magic.size() != 2 || magic[0] != 'P' || magic[1] < '1' || magic[1] > '6') break;
        } else if (width == 0) {
            width = PxmTokenValue(token);
        } else if (height == 0) {
            height = PxmTokenValue(token);
            if (magic == "P1" || magic == "P4") break;
        } else {
            break;  // the maximum sample value, not examined
        }
    }
    stream.SetPosition(start);
    return width > 0 && height > 0 && magic.size() == 2 && magic[0] == 'P' && magic[1] >= '1' && magic[1] <= '6';
}
