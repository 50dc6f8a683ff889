#pragma once
// The main window as start-up makes it, under the GUI harness, plus helpers to make image files and to answer the program's own modal dialogs.

#include "tests/harness/gui_test.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

class TImageView;
class TIEBitmap;

class TFormTest : public TGuiTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A w × h colour BMP in the work folder whose pixel (x, y) is (x, y, 77) modulo 256.
    QString MakeBmp(const QString& name, int w, int h);
    QString WorkPath(const QString& name) const;
    // Opens path through the open command.
    void Open(const QString& path);
    TImageView* View() const;
    QString TabText(int index) const;
    bool Enabled(const char* objectName) const;

    QTemporaryDir FWork;
    TScriptedDialogs* Script = nullptr;
    std::unique_ptr<TForm1> Form;
};

// Runs act on the first modal dialog of type T shown from now on.
template <class T>
void WhenModal(std::function<void(T&)> act);
void WhenModalWidget(std::function<bool(QWidget*)> act);

template <class T>
void WhenModal(std::function<void(T&)> act)
{
    WhenModalWidget([act](QWidget* w) {
        T* dialog = qobject_cast<T*>(w);
        if (dialog) act(*dialog);
        return dialog != nullptr;
    });
}

// Pixel (x, y) of a 24-bit bitmap as blue, green, red.
std::array<uint8_t, 3> PixelAt(const TIEBitmap& bitmap, int x, int y);
