#include "platform/proc/previews_dialog.h"

#include "platform/proc/effects.h"
#include "platform/proc/image_proc.h"
#include "platform/proc/rotate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

namespace {

constexpr int kPreviewSide = 220;

enum TParamKind { pkSlider, pkChoice, pkKernel };

struct TEffectParam {
    const char* Label;
    TParamKind Kind;
    int Min, Max, Default;
    QStringList Choices = {};
};

using TApply = std::function<QImage(const QImage&, const std::vector<int>&, bool keepSize)>;

} // namespace

struct TEffectPageInfo {
    int Bit;
    const char* Title;
    std::vector<TEffectParam> Params;
    TApply Apply;
};

namespace {

const std::vector<TEffectPageInfo>& PageTable()
{
    static const std::vector<TEffectPageInfo> table = {
        {ppeColorAdjust, "Contrast", {{"Contrast", pkSlider, -100, 100, 0}, {"Brightness", pkSlider, -100, 100, 0}},
         [](const QImage& i, const std::vector<int>& v, bool) { return AdjustContrast(i, v[0], v[1]); }},
        {ppeHSV, "HSV", {{"Hue", pkSlider, -180, 180, 0}, {"Saturation", pkSlider, -100, 100, 0}, {"Value", pkSlider, -100, 100, 0}},
         [](const QImage& i, const std::vector<int>& v, bool) { return AdjustHSV(i, v[0], v[1], v[2]); }},
        {ppeHSL, "HSL", {{"Hue", pkSlider, -180, 180, 0}, {"Saturation", pkSlider, -100, 100, 0}, {"Lightness", pkSlider, -100, 100, 0}},
         [](const QImage& i, const std::vector<int>& v, bool) { return AdjustHSL(i, v[0], v[1], v[2]); }},
        {ppeRGB, "RGB", {{"Red", pkSlider, -255, 255, 0}, {"Green", pkSlider, -255, 255, 0}, {"Blue", pkSlider, -255, 255, 0}},
         [](const QImage& i, const std::vector<int>& v, bool) { return AdjustRGB(i, v[0], v[1], v[2]); }},
        {ppeUserFilter, "User filter",
         {{"Kernel", pkKernel, -99, 99, 0}, {"Divisor", pkSlider, -100, 100, 1}, {"Bias", pkSlider, -255, 255, 0}},
         [](const QImage& i, const std::vector<int>& v, bool) {
             std::array<int, 9> k;
             std::copy_n(v.begin(), 9, k.begin());
             return UserFilter(i, k, v[9], v[10]);
         }},
        {ppeEqualize, "Equalization", {{"Channels", pkChoice, 0, 1, 0, {"Luminance", "Each channel"}}},
         [](const QImage& i, const std::vector<int>& v, bool) { return Equalize(i, v[0] == 1); }},
        {ppeBumpMap, "Bump map",
         {{"Light X (%)", pkSlider, 0, 100, 25}, {"Light Y (%)", pkSlider, 0, 100, 25}, {"Depth", pkSlider, 1, 100, 20},
          {"Mix (%)", pkSlider, 0, 100, 100}},
         [](const QImage& i, const std::vector<int>& v, bool) { return BumpMap(i, v[0], v[1], v[2], v[3]); }},
        {ppeLens, "Lens",
         {{"Centre X (%)", pkSlider, 0, 100, 50}, {"Centre Y (%)", pkSlider, 0, 100, 50}, {"Radius (%)", pkSlider, 1, 100, 40},
          {"Refraction", pkSlider, 10, 50, 17}},
         [](const QImage& i, const std::vector<int>& v, bool) { return Lens(i, v[0], v[1], v[2], v[3]); }},
        {ppeWave, "Wave",
         {{"Amplitude (%)", pkSlider, 0, 20, 2}, {"Wavelength (%)", pkSlider, 1, 100, 20}, {"Phase", pkSlider, 0, 359, 0},
          {"Borders", pkChoice, 0, 1, 1, {"Repeat", "Reflect"}}},
         [](const QImage& i, const std::vector<int>& v, bool) { return Wave(i, v[0], v[1], v[2], v[3] == 1); }},
        {ppeMorphFilters, "Morph filters",
         {{"Filter", pkChoice, 0, 3, 0, {"Erode", "Dilate", "Open", "Close"}}, {"Window size", pkSlider, 2, 15, 3}},
         [](const QImage& i, const std::vector<int>& v, bool) { return Morph(i, TMorphOperation(v[0]), v[1]); }},
        {ppeRotate, "Rotate", {{"Angle", pkSlider, -180, 180, 0}, {"Antialias", pkChoice, 0, 1, 1, {"Off", "On"}}},
         [](const QImage& i, const std::vector<int>& v, bool keepSize) {
             return RotateImage(i, v[0], v[1] == 1, qRgb(255, 255, 255), keepSize);
         }},
        {ppeFFT, "FFT", {{"Filter", pkChoice, 0, 1, 0, {"Low pass", "High pass"}}, {"Radius (%)", pkSlider, 0, 100, 100}},
         [](const QImage& i, const std::vector<int>& v, bool) { return FftFilter(i, TFftFilter(v[0]), v[1]); }},
    };
    return table;
}

// Where a page keeps one value: a spin box (sliders follow it) or a combo box.
struct TValueControl {
    QSpinBox* Spin = nullptr;
    QComboBox* Combo = nullptr;
    int Value() const { return Spin ? Spin->value() : Combo->currentIndex(); }
    void SetValue(int v) const
    {
        if (Spin) Spin->setValue(v);
        else Combo->setCurrentIndex(v);
    }
};

} // namespace

struct TPreviewsDialog::TPage {
    const TEffectPageInfo* Info;
    std::vector<TValueControl> Controls;
};

TPreviewsDialog::TPreviewsDialog(const QImage& source, int pages, bool keepSize, QWidget* parent)
    : QDialog(parent), FKeepSize(keepSize)
{
    setWindowTitle("Previews");
    FPreviewSource = source.width() > kPreviewSide || source.height() > kPreviewSide
                         ? source.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                         : source;
    FPreviewSource = FPreviewSource.convertToFormat(QImage::Format_RGB32);

    FTabs = new QTabWidget;
    FTabs->setAccessibleName("Pages");
    for (const TEffectPageInfo& info : PageTable()) {
        if (!(pages & info.Bit)) continue;
        TPage page{&info, {}};
        auto* widget = new QWidget;
        auto* form = new QFormLayout(widget);
        for (const TEffectParam& param : info.Params) {
            const QString label = QString::fromUtf8(param.Label);
            if (param.Kind == pkChoice) {
                auto* combo = new QComboBox;
                combo->addItems(param.Choices);
                combo->setCurrentIndex(param.Default);
                combo->setAccessibleName(label);
                connect(combo, &QComboBox::currentIndexChanged, this, &TPreviewsDialog::SchedulePreview);
                form->addRow(label, combo);
                page.Controls.push_back({nullptr, combo});
            } else if (param.Kind == pkKernel) {
                auto* grid = new QGridLayout;
                for (int k = 0; k < 9; ++k) {
                    auto* spin = new QSpinBox;
                    spin->setRange(param.Min, param.Max);
                    spin->setValue(k == 4 ? 1 : 0);  // the identity filter
                    spin->setAccessibleName(QString("%1 %2").arg(label).arg(k + 1));
                    connect(spin, &QSpinBox::valueChanged, this, &TPreviewsDialog::SchedulePreview);
                    grid->addWidget(spin, k / 3, k % 3);
                    page.Controls.push_back({spin, nullptr});
                }
                form->addRow(label, grid);
            } else {
                auto* row = new QHBoxLayout;
                auto* slider = new QSlider(Qt::Horizontal);
                auto* spin = new QSpinBox;
                slider->setRange(param.Min, param.Max);
                spin->setRange(param.Min, param.Max);
                slider->setValue(param.Default);
                spin->setValue(param.Default);
                slider->setAccessibleName(label);
                spin->setAccessibleName(label);
                connect(slider, &QSlider::valueChanged, spin, &QSpinBox::setValue);
                connect(spin, &QSpinBox::valueChanged, slider, &QSlider::setValue);
                connect(spin, &QSpinBox::valueChanged, this, &TPreviewsDialog::SchedulePreview);
                row->addWidget(slider, 1);
                row->addWidget(spin);
                form->addRow(label, row);
                page.Controls.push_back({spin, nullptr});
            }
        }
        FTabs->addTab(widget, QString::fromUtf8(info.Title));
        FPages.push_back(std::move(page));
    }
    connect(FTabs, &QTabWidget::currentChanged, this, &TPreviewsDialog::SchedulePreview);

    FBefore = new QLabel;
    FAfter = new QLabel;
    FSpectrum = new QLabel;
    for (QLabel* label : {FBefore, FAfter, FSpectrum}) {
        label->setMinimumSize(kPreviewSide, kPreviewSide);
        label->setAlignment(Qt::AlignCenter);
    }
    FBefore->setAccessibleName("Original");
    FAfter->setAccessibleName("Result");
    FSpectrum->setAccessibleName("Spectrum");
    FBefore->setPixmap(QPixmap::fromImage(FPreviewSource));
    auto* previews = new QHBoxLayout;
    for (auto [label, title] : {std::pair{FBefore, "Original"}, std::pair{FAfter, "Result"}, std::pair{FSpectrum, "Spectrum"}}) {
        auto* box = new QGroupBox(title);
        auto* boxLayout = new QVBoxLayout(box);
        boxLayout->addWidget(label);
        previews->addWidget(box);
        if (label == FSpectrum) FSpectrum->parentWidget()->setVisible(false);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FTabs);
    layout->addLayout(previews);
    layout->addWidget(buttons);

    FPreviewTimer = new QTimer(this);
    FPreviewTimer->setSingleShot(true);
    connect(FPreviewTimer, &QTimer::timeout, this, &TPreviewsDialog::RefreshPreview);
    RefreshPreview();
}

TPreviewsDialog::~TPreviewsDialog() = default;

QStringList TPreviewsDialog::PageTitles() const
{
    QStringList titles;
    for (const TPage& page : FPages) titles << QString::fromUtf8(page.Info->Title);
    return titles;
}

std::vector<int> TPreviewsDialog::Values(int page) const
{
    std::vector<int> values;
    for (const TValueControl& control : FPages.at(page).Controls) values.push_back(control.Value());
    return values;
}

void TPreviewsDialog::SetValue(int page, int parameter, int value)
{
    FPages.at(page).Controls.at(parameter).SetValue(value);
}

QImage TPreviewsDialog::ApplyTo(const QImage& image) const
{
    const int current = FTabs->currentIndex();
    if (current < 0) return image;
    return FPages[current].Info->Apply(image.convertToFormat(QImage::Format_RGB32), Values(current), FKeepSize);
}

void TPreviewsDialog::SchedulePreview()
{
    // Coalesce a burst of slider moves into one preview.
    FPreviewTimer->start(0);
}

void TPreviewsDialog::RefreshPreview()
{
    FPreviewResult = ApplyTo(FPreviewSource);
    FAfter->setPixmap(QPixmap::fromImage(FPreviewResult));
    const bool fft = FTabs->currentIndex() >= 0 && FPages[FTabs->currentIndex()].Info->Bit == ppeFFT;
    FSpectrum->parentWidget()->setVisible(fft);
    if (fft) FSpectrum->setPixmap(QPixmap::fromImage(FftSpectrum(FPreviewResult)));
}
