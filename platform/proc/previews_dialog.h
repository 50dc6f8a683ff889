#pragma once
// The preview dialog of adjustments and effects: the pages chosen by a mask of TPreviewPage
// bits, each with its parameters and a live preview of its result on a reduced copy.

#include <QDialog>
#include <QImage>
#include <vector>

class QLabel;
class QTabWidget;
class QTimer;
class QWidget;
struct TEffectPageInfo;

class TPreviewsDialog : public QDialog {
    Q_OBJECT
public:
    // keepSize: the result must keep the source's size (it replaces a selection).
    TPreviewsDialog(const QImage& source, int pages, bool keepSize, QWidget* parent = nullptr);
    ~TPreviewsDialog() override;

    // The current page's effect applied to image with the parameters as set.
    QImage ApplyTo(const QImage& image) const;
    // The titles of the pages shown, in order.
    QStringList PageTitles() const;
    QTabWidget* Pages() const { return FTabs; }
    // The parameters of page index (values of its controls, in table order).
    std::vector<int> Values(int page) const;
    void SetValue(int page, int parameter, int value);
    QImage PreviewResult() const { return FPreviewResult; }

private:
    struct TPage;
    void SchedulePreview();
    void RefreshPreview();

    QImage FPreviewSource;
    QImage FPreviewResult;
    bool FKeepSize;
    QTabWidget* FTabs;
    QLabel* FBefore;
    QLabel* FAfter;
    QLabel* FSpectrum;
    QTimer* FPreviewTimer;
    std::vector<TPage> FPages;
};
