#include "ModalScript.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

namespace orvx::frame {

namespace {

QString nameOf(const QWidget* window)
{
    if (qobject_cast<const QFileDialog*>(window))
        return QStringLiteral("QFileDialog");
    return window->windowTitle();
}

}  // namespace

bool ModalScript::Run(const std::function<void()>& start, int timeoutMs, QStringList* errors)
{
    std::size_t next = 0;
    QPointer<QWidget> handled;  // the window the last step acted on, until it changes
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (next == m_steps.size()) {
            if (!QApplication::activeModalWidget())
                loop.quit();
            return;
        }
        QWidget* window = QApplication::activeModalWidget();
        if (!window || !window->isVisible() || (window == handled && handled->property("orvxStep") == int(next)))
            return;
        if (nameOf(window) != m_steps[next].window) {
            if (auto* box = qobject_cast<QMessageBox*>(window)) {
                errors->append(QStringLiteral("message box: %1").arg(box->text()));
                box->reject();
            }
            return;
        }
        handled = window;
        const std::size_t step = next++;
        window->setProperty("orvxStep", int(next));
        m_steps[step].act(window);
    });
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(timeoutMs, &loop, [&] {
        const QWidget* open = QApplication::activeModalWidget();
        errors->append(QStringLiteral("modal windows: %1 of %2 steps ran; open: %3")
                           .arg(next)
                           .arg(m_steps.size())
                           .arg(open ? nameOf(open) : QStringLiteral("none")));
        // Close what is still open so that the program can go on.
        while (QWidget* window = QApplication::activeModalWidget())
            window->close();
        loop.quit();
    });
    QTimer::singleShot(0, &loop, start);
    poll.start();
    loop.exec();
    return next == m_steps.size();
}

void ModalScript::ClickLater(QWidget* window, int item)
{
    QPointer<QAbstractButton> button = window->findChild<QAbstractButton*>(QStringLiteral("item_%1").arg(item));
    QTimer::singleShot(0, window, [button] {
        if (button)
            button->click();
    });
}

void ModalScript::OkLater(QWidget* messageBox)
{
    QPointer<QAbstractButton> ok;
    if (auto* box = qobject_cast<QMessageBox*>(messageBox))
        ok = box->button(QMessageBox::Ok);
    QTimer::singleShot(0, messageBox, [ok] {
        if (ok)
            ok->click();
    });
}

}  // namespace orvx::frame
