#pragma once

#include <QPointer>
#include <QString>

#include <cstdint>
#include <optional>

class QLabel;

namespace orvx::views {

// A page's status line for its device operation: the prompt, progress or result text and,
// once a notification has arrived during the run, a second line with the time it has been
// running ("Find stops running: 12 s"). Nothing polls: the time moves on only when the page is
// notified; it is read from the replaceable steady clock.
class COperationStatusLine {
public:
    // 'operation' names the operation in the elapsed line.
    explicit COperationStatusLine(QString operation);

    // The label the line is shown in; nothing is shown before one is attached.
    void Attach(QLabel* label);

    // Replaces the text; the elapsed line stays while the run goes on.
    void Show(const QString& text);
    void Clear() { Show(QString()); }
    // The text as last shown by Show, without the elapsed line.
    const QString& Text() const { return m_text; }

    // The run started now; the elapsed line appears with the next notification.
    void RunStarted();
    // The run ended; the elapsed line goes.
    void RunEnded();
    bool IsRunning() const { return m_startMs.has_value(); }
    // A notification arrived: while running, the elapsed line shows the time since the start.
    void Notified();

private:
    void render();

    QPointer<QLabel> m_label;
    QString m_operation;
    QString m_text;
    std::optional<std::int64_t> m_startMs;
    bool m_elapsedShown = false;
};

}  // namespace orvx::views
