#include "app/logo.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {
constexpr QSize ClientSize(232, 50);
constexpr QSize PictureSize(220, 41);
const QString Lettering = QStringLiteral("Numerak!");

// The lettering as a path inside the picture, as large as the picture allows.
QPainterPath LetteringPath()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(36);
    QPainterPath path;
    path.addText(0, 0, font, Lettering);
    QRectF bounds = path.boundingRect();
    const qreal scale = std::min((PictureSize.width() - 4) / bounds.width(), (PictureSize.height() - 4) / bounds.height());
    QTransform fit;
    fit.translate(2, 2);
    fit.scale(scale, scale);
    fit.translate(-bounds.left(), -bounds.top());
    return fit.map(path);
}

QImage LetteringPicture(const QPainterPath& path)
{
    QImage picture(PictureSize, QImage::Format_RGB888);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 0, PictureSize.height());
    gradient.setColorAt(0, QColor(40, 90, 190));
    gradient.setColorAt(1, QColor(10, 30, 90));
    painter.fillPath(path, gradient);
    return picture;
}
}  // namespace

Tlogo::Tlogo(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("logo"));
    setWindowTitle(QStringLiteral("logo"));
    setFixedSize(ClientSize);
    const QPainterPath path = LetteringPath();
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(rect());
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setPixmap(QPixmap::fromImage(LetteringPicture(path)));
    for (const QPolygonF& outline : path.toSubpathPolygons()) FOutlines.push_back(outline);
    FormCreate();
}

void Tlogo::FormCreate()
{
    QRegion accumulator;
    for (const QPolygonF& outline : FOutlines)
        accumulator = accumulator.xored(QRegion(outline.toPolygon(), Qt::WindingFill));
    setMask(accumulator);
    update();
}
