#pragma once

#include <QtGlobal>

namespace orvx::frame {

// While it lives, drops the one warning the offscreen platform gives for each top-level window,
// "This plugin does not support propagateSizeHints()": with no window manager there is nobody to
// pass size hints to. Every other message goes on to the handler installed before. The warning
// comes in Qt's default category, so a logging rule would silence every other warning with it.
class QuietSizeHints {
public:
    QuietSizeHints();
    ~QuietSizeHints();
    QuietSizeHints(const QuietSizeHints&) = delete;
    QuietSizeHints& operator=(const QuietSizeHints&) = delete;

private:
    QtMessageHandler m_previous;
};

}  // namespace orvx::frame
