#pragma once
// TImageIO: pairs one TIEBitmap with one TIOParamsVals and moves images between them and files,
// choosing the codec by the file name's extension. Qt-free: a view is reached only through
// TIEViewLink. Codecs never throw for bad data; they set Aborting. Opening or creating a file
// that fails throws EFOpenError / EFCreateError after OnFinishWork has fired.

#include "formats/core/ie_bitmap.h"
#include "formats/core/ie_stream.h"
#include "formats/core/io_params.h"
#include "formats/core/progress.h"

#include <functional>
#include <memory>
#include <string>

// What the I/O component needs of a document view.
class TIEViewLink {
public:
    virtual ~TIEViewLink() = default;
    virtual TIEBitmap& IEBitmap() = 0;
    // Resolution of the view; SetResolution ignores a value of 0.
    virtual void GetResolution(int& dpiX, int& dpiY) const = 0;
    virtual void SetResolution(int dpiX, int dpiY) = 0;
    virtual TRGB ViewBackground() const = 0;
    virtual void SetViewBackground(TRGB color) = 0;
    // The bitmap changed: repaint.
    virtual void ImageChanged() = 0;
};

class TImageIO : public TIOParamsOwner {
public:
    TImageIO();
    ~TImageIO() override;
    TImageIO(const TImageIO&) = delete;
    TImageIO& operator=(const TImageIO&) = delete;

    // Attaching a view makes the component use the view's bitmap; null gives it its own again.
    void SetAttachedImage(TIEViewLink* view);
    TIEViewLink* AttachedImage() const { return FView; }
    TIEBitmap* IEBitmap();

    TIOParamsVals Params{this};
    bool Aborting = false;
    std::function<void(void* sender, int percent)> OnProgress;
    std::function<void()> OnFinishWork;
    bool AutoAdjustDPI = false;
    bool FilteredAdjustDPI = false;
    bool StreamHeaders = false;
    TRGB Background{};
    // Proxy for LoadFromURL ("host:port"); empty connects directly.
    std::string ProxyAddress;
    std::string ProxyUser;
    std::string ProxyPassword;

    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);
    void LoadFromStream(TStream& stream);
    void LoadFromURL(const std::string& url);
    TImageFileType FindStreamFormat(TStream& stream);
    TImageFileType FindFileFormat(const std::string& fileName, bool verifyExtension);

    void LoadFromFileTIFF(const std::string& fileName);
    void SaveToFileTIFF(const std::string& fileName);
    void LoadFromFileJpeg(const std::string& fileName);
    void SaveToFileJpeg(const std::string& fileName);
    void LoadFromFilePNG(const std::string& fileName);
    void SaveToFilePNG(const std::string& fileName);
    void LoadFromFileBMP(const std::string& fileName);
    void SaveToFileBMP(const std::string& fileName);
    void LoadFromFileGIF(const std::string& fileName);
    void SaveToFileGIF(const std::string& fileName);
    void LoadFromFilePCX(const std::string& fileName);
    void SaveToFilePCX(const std::string& fileName);
    void LoadFromFilePXM(const std::string& fileName);
    void SaveToFilePXM(const std::string& fileName);

    // Fires OnProgress with 100, then OnFinishWork.
    void DoFinishWork();

    // TIOParamsOwner
    bool ImageSize(int& width, int& height) const override;
    bool ViewResolution(int& dpiX, int& dpiY) const override;

private:
    TProgressRec Progress();
    // The common load procedure: a reader of type runs over the opened file or given stream.
    void LoadFileAs(const std::string& fileName, TImageFileType type);
    void LoadStreamAs(TStream& stream, TImageFileType type);
    // The common save procedure, through an atomic file stream.
    void SaveFileAs(const std::string& fileName, TImageFileType type);
    void AdjustDPI();
    void GiveUp();

    TIEViewLink* FView = nullptr;
    std::unique_ptr<TIEBitmap> FOwnBitmap;
};

// Status-line description of a record: "TIFF Bitmap (TIF) LZW", "JPEG Bitmap (JPG) YCbCr".
std::string GetFormatDescription(const TIOParamsVals& params);
