#pragma once
// Tag numbers and field types of the TIFF entries we read and write.

#include <cstdint>

enum TTiffTag : uint16_t {
    ttImageWidth = 256, ttImageLength = 257, ttBitsPerSample = 258, ttCompression = 259,
    ttPhotometric = 262, ttFillOrder = 266, ttDocumentName = 269, ttImageDescription = 270,
    ttMake = 271, ttModel = 272, ttStripOffsets = 273, ttOrientation = 274, ttSamplesPerPixel = 277,
    ttRowsPerStrip = 278, ttStripByteCounts = 279, ttXResolution = 282, ttYResolution = 283,
    ttPlanarConfig = 284, ttPageName = 285, ttXPosition = 286, ttYPosition = 287, ttT4Options = 292,
    ttT6Options = 293, ttResolutionUnit = 296, ttPageNumber = 297, ttSoftware = 305, ttDateTime = 306,
    ttPredictor = 317, ttWhitePoint = 318, ttPrimaryChromaticities = 319, ttColorMap = 320,
    ttTileWidth = 322, ttTileLength = 323, ttTileOffsets = 324, ttTileByteCounts = 325,
    ttExtraSamples = 338, ttJpegTables = 347, ttJpegProc = 512, ttJpegInterchangeFormat = 513,
    ttJpegInterchangeFormatLength = 514, ttYCbCrCoefficients = 529, ttYCbCrPositioning = 531,
    ttReferenceBlackWhite = 532, ttCopyright = 33432, ttIptc = 33723, ttExifIfd = 34665,
};

enum TTiffType : uint16_t {
    tyByte = 1, tyAscii = 2, tyShort = 3, tyLong = 4, tyRational = 5, tySByte = 6, tyUndefined = 7,
    tySShort = 8, tySLong = 9, tySRational = 10, tyFloat = 11, tyDouble = 12,
};
