#include "platform/proc/io_previews_dialog.h"

#include "platform/view/bitmap_image.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int kPreviewSide = 200;

// Bit depths a page offers, and how each is stored as bits per sample × samples per pixel.
struct TDepth {
    int Bits, BitsPerSample, SamplesPerPixel;
};
constexpr TDepth kDepths[] = {{1, 1, 1}, {2, 2, 1}, {3, 3, 1}, {4, 4, 1}, {5, 5, 1}, {6, 6, 1}, {7, 7, 1}, {8, 8, 1}, {15, 5, 3}, {24, 8, 3}};

const TDepth& DepthOf(int bits)
{
    for (const TDepth& d : kDepths)
        if (d.Bits == bits) return d;
    return kDepths[std::size(kDepths) - 1];
}

// Builds one page's form and collects how to store it.
class TPageBuilder {
public:
    TPageBuilder(QWidget* page, std::vector<std::function<void(TIOParamsVals&)>>& stores) : FForm(new QFormLayout(page)), FStores(stores) {}

    template <class T>
    void Choice(const QString& label, const QStringList& items, T& field, int offset = 0)
    {
        auto* combo = Named(new QComboBox, label);
        combo->addItems(items);
        combo->setCurrentIndex(std::clamp(int(field) - offset, 0, int(items.size()) - 1));
        FForm->addRow(label, combo);
        FStores.push_back([combo, &field, offset](TIOParamsVals&) { field = T(combo->currentIndex() + offset); });
    }
    void Number(const QString& label, int min, int max, int& field)
    {
        auto* spin = Named(new QSpinBox, label);
        spin->setRange(min, max);
        spin->setValue(field);
        FForm->addRow(label, spin);
        FStores.push_back([spin, &field](TIOParamsVals&) { field = spin->value(); });
    }
    void Flag(const QString& label, bool& field)
    {
        auto* box = Named(new QCheckBox(label), label);
        box->setChecked(field);
        FForm->addRow(box);
        FStores.push_back([box, &field](TIOParamsVals&) { field = box->isChecked(); });
    }
    void Text(const QString& label, std::string& field)
    {
        auto* edit = Named(new QLineEdit(QString::fromStdString(field)), label);
        FForm->addRow(label, edit);
        FStores.push_back([edit, &field](TIOParamsVals&) { field = edit->text().toStdString(); });
    }
    void BitDepth(const TIOParamsVals& params, std::initializer_list<int> offered)
    {
        const QString label = "Bits per pixel";
        auto* combo = Named(new QComboBox, label);
        const int current = params.BitsPerSample * params.SamplesPerPixel;
        for (int bits : offered) {
            combo->addItem(QString::number(bits), bits);
            if (bits == current) combo->setCurrentIndex(combo->count() - 1);
        }
        if (combo->currentIndex() < 0 || combo->itemData(combo->currentIndex()).toInt() != current) combo->setCurrentIndex(combo->count() - 1);
        FForm->addRow(label, combo);
        FStores.push_back([combo](TIOParamsVals& p) {
            const TDepth& d = DepthOf(combo->currentData().toInt());
            p.BitsPerSample = d.BitsPerSample;
            p.SamplesPerPixel = d.SamplesPerPixel;
        });
    }

private:
    template <class W>
    W* Named(W* widget, const QString& name)
    {
        widget->setAccessibleName(name);
        return widget;
    }
    QFormLayout* FForm;
    std::vector<std::function<void(TIOParamsVals&)>>& FStores;
};

} // namespace

TIOPreviewsDialog::TIOPreviewsDialog(TImageIO& io, int pages, QWidget* parent) : QDialog(parent), FIO(io)
{
    setWindowTitle("Options");
    TIOParamsVals& p = io.Params;
    FTabs = new QTabWidget;
    FTabs->setAccessibleName("Pages");
    auto page = [this](const char* title) {
        auto* widget = new QWidget;
        FTabs->addTab(widget, title);
        return TPageBuilder(widget, FStores);
    };
    if (pages & ioppJPEG) {
        TPageBuilder b = page("JPEG");
        b.Number("Quality", 1, 100, p.JpegQuality);
        b.Choice("Colour space", {"RGB", "Grey", "YCbCr", "CMYK", "YCbCrK"}, p.JpegColorSpace);
        b.Choice("DCT method", {"Accurate integer", "Fast integer", "Floating point"}, p.JpegDctMethod);
        b.Number("Smoothing", 0, 100, p.JpegSmooth);
        b.Flag("Optimal Huffman", p.JpegOptimalHuffman);
        b.Flag("Progressive", p.JpegProgressive);
    }
    if (pages & ioppTIFF) {
        TPageBuilder b = page("TIFF");
        b.Choice("Compression", {"None", "CCITT Huffman", "CCITT G3", "CCITT G3 2D", "CCITT G4", "LZW", "Old JPEG", "JPEG", "PackBits"},
                 p.TiffCompression);
        b.Choice("Photometric", {"White is zero", "Black is zero", "RGB", "Palette", "Mask", "CMYK", "YCbCr", "CIELab"}, p.TiffPhotometric);
        b.BitDepth(p, {1, 4, 8, 24});
        b.Text("Document name", p.TiffDocumentName);
        b.Text("Image description", p.TiffImageDescription);
        b.Text("Page name", p.TiffPageName);
        b.Number("Page number", 0, 65535, p.TiffPageNumber);
        b.Number("Page count", 0, 65535, p.TiffPageCount);
    }
    if (pages & ioppGIF) {
        TPageBuilder b = page("GIF");
        b.BitDepth(p, {1, 2, 3, 4, 5, 6, 7, 8});
        b.Number("Left", 0, 65535, p.GifXPos);
        b.Number("Top", 0, 65535, p.GifYPos);
        b.Number("Delay (1/100 s)", 0, 65535, p.GifDelayTime);
        b.Flag("Transparent", p.GifTransparent);
        b.Flag("Interlaced", p.GifInterlaced);
    }
    if (pages & ioppBMP) {
        TPageBuilder b = page("BMP");
        b.BitDepth(p, {1, 4, 8, 15, 24});
        b.Choice("Compression", {"None", "Run-length"}, p.BmpCompression);
    }
    if (pages & ioppPNG) {
        TPageBuilder b = page("PNG");
        b.BitDepth(p, {1, 8, 24});
        b.Flag("Interlaced", p.PngInterlaced);
        b.Choice("Filter", {"None", "Sub", "Paeth"}, p.PngFilter);
        b.Number("Compression", 0, 9, p.PngCompression);
    }

    auto* preview = new QLabel;
    preview->setAccessibleName("Preview");
    preview->setMinimumSize(kPreviewSide, kPreviewSide);
    preview->setAlignment(Qt::AlignCenter);
    if (TIEBitmap* bitmap = io.IEBitmap(); bitmap && !bitmap->Empty()) {
        const QImage image = BitmapToQImage(*bitmap);
        preview->setPixmap(QPixmap::fromImage(image.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        Store();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* top = new QHBoxLayout;
    top->addWidget(preview);
    top->addWidget(FTabs, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
}

void TIOPreviewsDialog::Store()
{
    for (const auto& store : FStores) store(FIO.Params);
}

bool DoPreviews(TImageIO& io, int pages, QWidget* parent)
{
    if (TIEBitmap* bitmap = io.IEBitmap(); bitmap && !bitmap->Empty() && bitmap->PixelFormat() != ipf1Bit)
        bitmap->ConvertTo(ipf24RGB);
    TIOPreviewsDialog dialog(io, pages, parent);
    return dialog.exec() == QDialog::Accepted;
}
