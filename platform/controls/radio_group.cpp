#include "platform/controls/radio_group.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(caption, parent), FGroup(new QButtonGroup(this)), FLayout(new QGridLayout(this)),
      FColumns(std::max(1, columns))
{
    FLayout->setContentsMargins(6, 2, 6, 2);
    FLayout->setVerticalSpacing(0);
    // Exclusivity is handled by hand so that "no item selected" stays representable.
    FGroup->setExclusive(false);
    SetItems(items);
    connect(FGroup, &QButtonGroup::idClicked, this, [this](int id) {
        SetItemIndex(id);
        emit Click();
    });
}

void TRadioGroup::SetItems(const QStringList& items)
{
    for (int i = 0; i < items.size(); ++i) {
        if (i < FButtons.size()) {
            FButtons[i]->setText(items[i]);
            continue;
        }
        auto* button = new QRadioButton(items[i], this);
        const int rows = (static_cast<int>(items.size()) + FColumns - 1) / FColumns;
        FLayout->addWidget(button, i % rows, i / rows);
        FGroup->addButton(button, i);
        FButtons.append(button);
    }
}

int TRadioGroup::ItemIndex() const
{
    for (int i = 0; i < FButtons.size(); ++i)
        if (FButtons[i]->isChecked()) return i;
    return -1;
}

void TRadioGroup::SetItemIndex(int index)
{
    for (int i = 0; i < FButtons.size(); ++i) FButtons[i]->setChecked(i == index);
}
