#include "formats/tiff/tiff_exif.h"

#include "formats/tiff/tiff_tags.h"

#include <string>

namespace {
struct TExifTagName {
    uint16_t Tag;
    const char* Name;
};

constexpr TExifTagName kPageTags[] = {
    {ttImageDescription, "ImageDescription"}, {ttMake, "Make"}, {ttModel, "Model"},
    {ttDateTime, "DateTime"}, {ttSoftware, "Software"}, {ttOrientation, "Orientation"},
    {ttXResolution, "XResolution"}, {ttYResolution, "YResolution"}, {ttResolutionUnit, "ResolutionUnit"},
    {ttWhitePoint, "WhitePoint"}, {ttPrimaryChromaticities, "PrimaryChromaticities"},
    {ttYCbCrCoefficients, "YCbCrCoefficients"}, {ttYCbCrPositioning, "YCbCrPositioning"},
    {ttReferenceBlackWhite, "ReferenceBlackWhite"}, {ttCopyright, "Copyright"},
};

constexpr TExifTagName kExifTags[] = {
    {33434, "ExposureTime"}, {33437, "FNumber"}, {34850, "ExposureProgram"}, {34855, "ISOSpeedRatings"},
    {36864, "ExifVersion"}, {36867, "DateTimeOriginal"}, {36868, "DateTimeDigitized"},
    {37122, "CompressedBitsPerPixel"}, {37377, "ShutterSpeedValue"}, {37378, "ApertureValue"},
    {37379, "BrightnessValue"}, {37380, "ExposureBiasValue"}, {37381, "MaxApertureValue"},
    {37382, "SubjectDistance"}, {37383, "MeteringMode"}, {37384, "LightSource"}, {37385, "Flash"},
    {37386, "FocalLength"}, {37510, "UserComment"}, {37520, "SubsecTime"}, {37521, "SubsecTimeOriginal"},
    {37522, "SubsecTimeDigitized"}, {40960, "FlashpixVersion"}, {40961, "ColorSpace"},
    {40962, "PixelXDimension"}, {40963, "PixelYDimension"}, {40964, "RelatedSoundFile"},
    {41486, "FocalPlaneXResolution"}, {41487, "FocalPlaneYResolution"}, {41488, "FocalPlaneResolutionUnit"},
    {41493, "ExposureIndex"}, {41495, "SensingMethod"}, {41728, "FileSource"}, {41729, "SceneType"},
};

std::string Indexed(const std::string& key, size_t i) { return i == 0 ? key : key + "[" + std::to_string(i) + "]"; }

void Store(const TTiffDirectory& dir, const TExifTagName& t, TExifBlock& exif) {
    const TTiffEntry* e = dir.Find(t.Tag);
    if (!e) return;
    const std::string key = std::string("Exif") + t.Name;
    switch (e->Type) {
    case tyAscii:
        exif.Strings[key] = dir.Ascii(t.Tag);
        break;
    case tyRational:
    case tySRational: {
        std::vector<double> v = dir.Rationals(t.Tag);
        for (size_t i = 0; i < v.size(); ++i) exif.Rationals[Indexed(key, i)] = v[i];
        break;
    }
    case tyUndefined: {
        std::vector<uint8_t> raw = dir.Bytes(t.Tag);
        if (t.Tag == 37510) {  // 8-byte character code, then the text
            size_t prefix = std::min<size_t>(8, raw.size());
            exif.Strings["ExifUserCommentCode"] = std::string(raw.begin(), raw.begin() + std::ptrdiff_t(prefix));
            std::string text(raw.begin() + std::ptrdiff_t(prefix), raw.end());
            if (size_t z = text.find('\0'); z != std::string::npos) text.resize(z);
            exif.Strings[key] = text;
        } else if (t.Tag == 36864 || t.Tag == 40960) {
            exif.Strings[key] = std::string(raw.begin(), raw.end());
        } else if (!raw.empty()) {
            exif.Integers[key] = raw[0];
        }
        break;
    }
    default: {
        std::vector<uint32_t> v = dir.Ints(t.Tag);
        for (size_t i = 0; i < v.size() && i < 64; ++i) exif.Integers[Indexed(key, i)] = int(v[i]);
        break;
    }
    }
}
}  // namespace

void TiffReadExifBlock(TTiffFile& file, const TTiffDirectory& page, TExifBlock& exif) {
    for (const auto& t : kPageTags) Store(page, t, exif);
    uint32_t sub = page.Int(ttExifIfd, 0);
    std::vector<TTiffEntry> entries;
    if (sub == 0 || !ReadTiffEntries(file, sub, entries)) return;
    TTiffDirectory exifDir(file, std::move(entries));
    for (const auto& t : kExifTags) Store(exifDir, t, exif);
}
