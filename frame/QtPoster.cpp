#include "QtPoster.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace orvx::frame {

void QtPoster::post(std::function<void()> work)
{
    // Safe from any thread: the call is queued to the application object's thread.
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(work), Qt::QueuedConnection);
}

}  // namespace orvx::frame
