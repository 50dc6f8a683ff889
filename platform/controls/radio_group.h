#pragma once
// TRadioGroup: a titled frame of radio buttons laid out in columns, addressed by item index.
// ItemIndex is -1 while no item is selected.

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString& caption, const QStringList& items, int columns = 1, QWidget* parent = nullptr);

    int ItemIndex() const;
    // -1 (or any index out of range) selects nothing.
    void SetItemIndex(int index);
    int Count() const { return static_cast<int>(FButtons.size()); }
    QRadioButton* Button(int index) const { return FButtons.at(index); }
    // Replaces the captions in place (the language switch); the selection stays.
    void SetItems(const QStringList& items);

signals:
    // The user clicked an item.
    void Click();

private:
    QButtonGroup* FGroup;
    QGridLayout* FLayout;
    QList<QRadioButton*> FButtons;
    int FColumns;
};
