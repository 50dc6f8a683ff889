#include "platform/dialogs/dialogs.h"

#include "platform/dialogs/qt_dialogs.h"

namespace {
std::unique_ptr<TDialogs>& Current()
{
    static std::unique_ptr<TDialogs> current;
    return current;
}
}  // namespace

TDialogs& Dialogs()
{
    if (!Current()) Current() = std::make_unique<TQtDialogs>();
    return *Current();
}

std::unique_ptr<TDialogs> SetDialogs(std::unique_ptr<TDialogs> dialogs)
{
    std::swap(Current(), dialogs);
    return dialogs;
}
