#pragma once

#include <QDialog>
#include <QPointer>

#include <cstdint>

class QLabel;
class QPushButton;

namespace orvx::views {

class IManualStops;

// Manual find stops: the user drives the valve to the low stop, accepts it once the valve is
// stable, then does the same for the high stop. The dialog sends the methods through the find
// stops page and learns their results from the messages the page posts it (CManualStopsEvent).
class CESDGenDlg final : public QDialog {
public:
    // Progress bits: which stops the valve has reached since they were last accepted.
    enum Progress : std::uint8_t { LowReached = 1, HighReached = 2 };

    // Tells 'stops' its window at once and forgets it again when destroyed; centres itself over
    // 'mainView' when shown.
    CESDGenDlg(IManualStops& stops, QWidget* mainView, QWidget* parent = nullptr);
    ~CESDGenDlg() override;

    std::uint8_t ProgressBits() const { return m_progress; }

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Low();
    void High();
    void Ok();
    // Shows the text, disables the three buttons and runs the method; a method that cannot be
    // sent leaves the dialog as it was and raises.
    void Drive(const QString& text, int method, std::uint8_t progress);
    void OnResult(int method, int status);
    void SetText(const QString& text);

    IManualStops& m_stops;
    QPointer<QWidget> m_mainView;
    QLabel* m_text = nullptr;
    QPushButton* m_low = nullptr;
    QPushButton* m_high = nullptr;
    QPushButton* m_ok = nullptr;
    std::uint8_t m_progress = 0;
};

}  // namespace orvx::views
