#include "app/startup.h"

#include "app/logo.h"
#include "app/main_form.h"

#include <QApplication>
#include <QScreen>

std::unique_ptr<TForm1> StartUp()
{
    auto logo = std::make_unique<Tlogo>();
    // Centred on the screen: there is no main window yet.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        logo->move(screen->geometry().center() - logo->rect().center());
    logo->show();
    // No event loop runs yet: paint it now or it stays blank.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    logo->repaint();
    QApplication::setApplicationName(QStringLiteral("Numerak!"));
    auto form = std::make_unique<TForm1>();
    logo->hide();
    return form;
}
