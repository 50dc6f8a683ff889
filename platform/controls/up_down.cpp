#include "platform/controls/up_down.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

TUpDown::TUpDown(int min, int max, int position, QWidget* parent)
    : QWidget(parent), FUp(new QToolButton(this)), FDown(new QToolButton(this)), FMin(min), FMax(max),
      FPosition(std::clamp(position, min, max))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* button : {FUp, FDown}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        button->setIconSize(QSize(8, 8));
        layout->addWidget(button);
    }
    FUp->setArrowType(Qt::UpArrow);
    FDown->setArrowType(Qt::DownArrow);
    FUp->setAccessibleName(tr("Up"));
    FDown->setAccessibleName(tr("Down"));
    setFocusPolicy(Qt::StrongFocus);
    connect(FUp, &QToolButton::clicked, this, [this] { SetPosition(FPosition + Increment); });
    connect(FDown, &QToolButton::clicked, this, [this] { SetPosition(FPosition - Increment); });
}

void TUpDown::SetAssociate(QLineEdit* edit)
{
    FAssociate = edit;
    if (FAssociate) FAssociate->setText(QString::number(FPosition));
}

void TUpDown::SetPosition(int position)
{
    position = std::clamp(position, FMin, FMax);
    if (position == FPosition) return;
    FPosition = position;
    if (FAssociate) FAssociate->setText(QString::number(FPosition));
    emit Changed(FPosition);
}

void TUpDown::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up) SetPosition(FPosition + Increment);
    else if (event->key() == Qt::Key_Down) SetPosition(FPosition - Increment);
    else QWidget::keyPressEvent(event);
}
