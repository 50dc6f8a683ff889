#include "platform/errors/errors.h"

#include "platform/dialogs/dialogs.h"

#include <QString>

#include <new>

void HandleException()
{
    try {
        throw;
    } catch (const EAbort&) {
    } catch (const std::bad_alloc&) {
        Dialogs().ShowError(QStringLiteral("Mémoire insuffisante"));
    } catch (const std::exception& e) {
        Dialogs().ShowError(QString::fromUtf8(e.what()));
    } catch (...) {
        Dialogs().ShowError(QStringLiteral("Erreur inconnue"));
    }
}
