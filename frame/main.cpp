// orvx-frame: hosts the module's controls over a simulated positioner, as an FDT frame would.
#include "FrameWindow.h"
#include "ModuleLoader.h"
#include "QtScheduler.h"
#include "host/Guids.h"
#include "platform/com/ComObject.h"
#include "simulator/SimulatedPositioner.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

}  // namespace

int main(int argc, char** argv)
{
    QString screenshots;
    for (int i = 1; i < argc; ++i) {
        if (QLatin1String(argv[i]) == QLatin1String("--screenshots") && i + 1 < argc)
            screenshots = QString::fromLocal8Bit(argv[++i]);
    }
    if (!screenshots.isEmpty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (screenshots.isEmpty() && !hasDisplay()) {
        std::fprintf(
            stderr,
            "orvx-frame: there is no display to open a window on.\n"
            "  Run it on a desktop, or\n"
            "  scripts/run --vnc              a virtual display you reach with a VNC viewer on 127.0.0.1:5900 only\n"
            "  scripts/run --screenshots DIR  every page rendered to PNG files\n");
        return 2;
    }

    QApplication app(argc, argv);
    const QString module = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("libOrvxTarnelGUI.so"));
    orvx::frame::ModuleLoader loader;
    const QString registered = orvx::frame::ModuleLoader::RegisteredModule(orvx::host::CLSID_OrvxESDDTMGUIView);
    // A registration that names a module file that is gone (a moved build) is renewed.
    if (registered.isEmpty() || !QFileInfo::exists(registered)) {
        if (const QString error = loader.EnsureRegistered(orvx::host::CLSID_OrvxESDDTMGUIView, module);
            !error.isEmpty()) {
            std::fprintf(stderr, "orvx-frame: %s\n", qPrintable(error));
            return 1;
        }
    }

    // Screenshots need not wait for the device in real time.
    orvx::frame::QtScheduler scheduler(screenshots.isEmpty() ? 1.0 : 4.0);
    auto device = orvx::com::makeComObject<orvx::simulator::SimulatedPositioner>(scheduler);
    device->Connect();
    int status = 0;
    {
        orvx::frame::FrameWindow window(loader, *device);
        if (!screenshots.isEmpty()) {
            QStringList errors;
            const int written = window.WriteScreenshots(screenshots, &errors);
            for (const QString& error : errors)
                std::fprintf(stderr, "orvx-frame: %s\n", qPrintable(error));
            std::printf("orvx-frame: %d screenshots in %s\n", written, qPrintable(screenshots));
            status = errors.isEmpty() ? 0 : 1;
        } else {
            if (const QString error = window.Open(orvx::frame::FrameWindow::Control::Online); !error.isEmpty())
                std::fprintf(stderr, "orvx-frame: %s\n", qPrintable(error));
            window.show();
            status = app.exec();
        }
    }
    device->Disconnect();
    return status;
}
