#pragma once
// Tlogo: the splash window, cut to the shape of its lettering "Numerak!". It is frameless,
// so the outlines are in client coordinates.

#include <QPolygonF>
#include <QRegion>
#include <QWidget>

#include <vector>

class QLabel;

class Tlogo : public QWidget {
    Q_OBJECT
public:
    explicit Tlogo(QWidget* parent = nullptr);

    QLabel* Image1;
    // The outlines of the lettering, each closed, in the order they are combined.
    const std::vector<QPolygonF>& Outlines() const { return FOutlines; }
    // The region installed as the window's mask.
    QRegion WindowRegion() const { return mask(); }

private:
    // Combines the outlines into the window region: exclusive-or of winding-rule polygons.
    void FormCreate();

    std::vector<QPolygonF> FOutlines;
};
