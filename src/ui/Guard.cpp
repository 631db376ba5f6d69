#include "ui/Guard.h"

#include <exception>
#include <new>

#include "platform/Error.h"
#include "ui/Dialogs.h"

namespace pimvesk {

void ShowErrorBox(QWidget* parent, const QString& message) {
    CurrentDialogs().ShowError(parent, message + ".");
}

bool RunGuarded(QWidget* parent, void (*body)(void*), void* context) {
    try {
        body(context);
        return true;
    } catch (const Error& error) {
        ShowErrorBox(parent, QString::fromUtf8(error.what()));
    } catch (const std::bad_alloc&) {
        ShowErrorBox(parent, "メモリが足りません");
    } catch (const std::exception& error) {
        ShowErrorBox(parent, QString::fromLocal8Bit(error.what()));
    }
    return false;
}

}  // namespace pimvesk
