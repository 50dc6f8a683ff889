#pragma once
// TApplication: the application object. Every exception that leaves an event handler ends
// up in its notify override, which hands it to the one top-level handler.

#include <QApplication>

class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
