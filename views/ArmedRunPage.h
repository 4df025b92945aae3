#pragma once

#include "OperationStatusLine.h"
#include "ResourcePage.h"

class QGroupBox;
class QPushButton;
class QVBoxLayout;

namespace orvx::views {

// A page that runs one long device method in three presses: Start arms it, Continue runs it
// (only Cancel is usable while it runs) and Cancel stops it; the status line says where it
// stands and, while it runs, for how long. Find stops and autotune are such pages.
class CArmedRunPage : public CResourcePage {
public:
    // What the status line says at each stage.
    struct Texts {
        QString armed;
        QString running;
        QString cancelling;
        QString completed;
        QString cancelledByDevice;
    };

    void OnUpdate(std::int32_t code, const QString& text) override;

    // The status line's text without the elapsed line.
    const QString& StatusText() const { return m_status.Text(); }

protected:
    // The operation buttons' bits: Apply Mode, then Start, Continue and Cancel.
    enum Button : std::uint8_t {
        ApplyModeBit = 1,
        StartBit = 2,
        ContinueBit = 4,
        CancelBit = 8,
    };

    CArmedRunPage(int viewSettingResource, int method, const QString& name, Texts texts);

    // The page's group under the body, with its explanation; the page adds its own rows and then
    // calls AddRunControls.
    QVBoxLayout* MakeGroup(int groupItem, const QString& title, const QString& about);
    // Start, Continue and Cancel in a row, and the status line below them, with these items;
    // the buttons become the operation buttons after Apply Mode.
    void AddRunControls(QWidget* group, QVBoxLayout* layout, int firstButtonItem, int statusItem);

    // Checks before the run is sent; false keeps the page armed.
    virtual bool ReadyToRun() { return true; }
    // A failure the device reported (code < 0) with its value; the run's own cancelled, busy and
    // other failures by default.
    virtual void OnFailure(std::int32_t code, const QString& text);
    // A code neither the run nor a failure: nothing by default.
    virtual void OnOtherCode(std::int32_t code) {}

    // Idle again after the run ended: Start back, Continue and Cancel gone.
    void BackToIdle();
    bool IsOwnMethod(const QString& text) const;

    COperationStatusLine m_status;

private:
    void Arm();
    void Run();
    void Cancel();

    int m_method;
    Texts m_texts;
    QPushButton* m_start = nullptr;
    QPushButton* m_continue = nullptr;
    QPushButton* m_cancel = nullptr;
};

}  // namespace orvx::views
