// The state document the business object sends with notification 1: the controller takes the
// user level and the private-dialog flag from it, the status area the connection, data-set
// and communication states.
#include "FuzzApplication.h"
#include "device/DeviceNames.h"
#include "framework/StatusArea.h"
#include "framework/TextProvider.h"
#include "framework/UIController.h"

#include <QWidget>

using namespace orvx;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::makeApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QWidget window;
    static framework::CTextProvider texts;
    static framework::CStatusArea* status = [] {
        auto* area = new framework::CStatusArea;
        area->SetTextProvider(&texts);
        area->CreateWindow(&window);
        return area;
    }();

    const QString text = fuzz::utf8Text(data, size);
    framework::CUIController controller;
    controller.SetStatusArea(status, status);
    controller.OnDtmUpdate(device::code::StateDocument, text);
    // The level read is the level kept, whatever the document held.
    (void)controller.IsWritable();
    (void)controller.IsPrivateDialogEnabled();
    controller.SetStatusArea(nullptr, nullptr);
    // What the input posted runs now, and what it dropped goes, before the next input.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    return 0;
}
