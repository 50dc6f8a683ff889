#pragma once
// TUpDown: a spin button (up and down arrows) that steps a position between Min and Max and
// writes it into its associated edit.

#include <QWidget>

class QLineEdit;
class QToolButton;

class TUpDown : public QWidget {
    Q_OBJECT
public:
    TUpDown(int min, int max, int position, QWidget* parent = nullptr);

    void SetAssociate(QLineEdit* edit);
    int Position() const { return FPosition; }
    void SetPosition(int position);
    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Increment = 1;

signals:
    void Changed(int position);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QToolButton* FUp;
    QToolButton* FDown;
    QLineEdit* FAssociate = nullptr;
    int FMin;
    int FMax;
    int FPosition;
};
