#pragma once

// The widget targets' application, made once per run on the offscreen platform.

#include "FuzzText.h"

#include <QApplication>
#include <QByteArray>

namespace orvx::fuzz {

inline void makeApplication()
{
    static int argc = 1;
    static char name[] = "orvx-fuzz";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's warnings about odd input would drown libFuzzer's own output.
    qputenv("QT_LOGGING_RULES", "*=false");
    static QApplication* application = new QApplication(argc, argv);
    (void)application;
}

}  // namespace orvx::fuzz
