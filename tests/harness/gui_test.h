#pragma once
// TGuiTest: the fixture of every GUI test. It provides one TApplication for the process (the
// offscreen platform unless QT_QPA_PLATFORM says otherwise), a fresh registry folder per test
// (NUMERAK_REGISTRY_DIR), the scripted dialogs (an unexpected dialog fails the test with its
// text; answers left over at the end fail it too), and an empty clipboard at both ends.

#include "app/main_form.h"
#include "platform/dialogs/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <memory>

class TImageView;

class TGuiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The main window as start-up creates it: splash, application title, TForm1.
    std::unique_ptr<TForm1> CreateForm();
    TScriptedDialogs& Script() { return *FScript; }
    QString RegistryDir() const { return FRegistry.path(); }

private:
    QTemporaryDir FRegistry;
    TScriptedDialogs* FScript = nullptr;
};

// The main window's private parts that the commands use, for tests.
class TForm1Access {
public:
    static void NewDocument(TForm1& form) { form.NewDocument(); }
    static TImageView* LastView(TForm1& form) { return form.FLastView; }
    static QWidget* LastSheet(TForm1& form) { return form.FLastSheet; }
};

// Runs a handler as the event loop does: what it throws reaches the top-level handler.
void Call(TForm1& form, void (TForm1::*handler)());
// Asks the window to close, as the frame or "&Quitter" does; true when it closed.
bool RequestClose(TForm1& form);
// Captions of the document tabs, in order.
QStringList TabCaptions(const TForm1& form);
// Adds a document as the open, paste and scan commands do; modified when asked.
TImageView* AddDocument(TForm1& form, bool modified = false);
