// Window theme, menu effects and menu transparency.

#include "app/main_form.h"

#include <QComboBox>

void TForm1::ApplyThemeFrame()
{
    // With no theme the plain frame carries the system menu and with it the close button;
    // a theme draws its own caption buttons.
    const bool plainFrame = themes->currentIndex() == 0;
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;
    if (plainFrame) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (flags == windowFlags()) return;
    const bool shown = isVisible();
    setWindowFlags(flags);
    if (shown) show();
}

void TForm1::themesChange()
{
    ApplyThemeFrame();
}

// Placeholders until the menu appearance lands: each does nothing yet.
void TForm1::EffetmenuClick() {}

void TForm1::transparenceChange() {}

void TForm1::ApplyMenuAppearance() {}
