#pragma once

#include "hart/link/DeviceScan.h"

#include <QDialog>

#include <memory>

class QLabel;
class QLayout;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QToolButton;
class QTreeWidget;

namespace orvx::frame {

// Device > Connect...: searches a HART-IP server or gateway, or a modem's loop, for the devices
// that answer at poll addresses 0 to N, lists them, and hands back the address of the one the
// user picks. The search runs on its own thread; the window only shows what it hears.
class ConnectDialog : public QDialog {
public:
    static constexpr const char* kDefaultAddress = "hart-ip://127.0.0.1:5094";
    // Whether the user connects to one device (a frame shows one) or to several at once (a plant
    // adds every valve a gateway reaches: Connect all).
    enum class Pick { One, Many };

    // `address` is the device the frame shows now, or empty; its poll address is dropped, as the
    // search asks them all.
    explicit ConnectDialog(const QString& address, QWidget* parent = nullptr, Pick pick = Pick::One);
    ~ConnectDialog() override;

    // The chosen device's full address, poll address included; empty until Connect.
    QString ChosenAddress() const { return m_chosen.value(0); }
    // Every chosen device's address, by poll address; empty until Connect.
    QStringList ChosenAddresses() const { return m_chosen; }
    // The key file of a hart-ip+tls:// address, else empty.
    QString KeyFile() const;
    bool Searching() const { return m_scan != nullptr; }

    // What the Search button does: a search of the address in the field, or the reason it is
    // no address, shown in the window.
    void Search();
    // Both stop a running search first.
    void accept() override;
    // Picks every device listed and connects to them all (Pick::Many).
    void ConnectAll();
    void reject() override;

protected:
    // Enter searches from the fields and connects from the list; Esc closes.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildLayout();
    QLayout* buildFields();  // address, key file, poll addresses and the Search button
    void addressEdited();
    bool tls() const;
    // The endpoint to search and its key; false, the reason shown, when there is none.
    bool readEndpoint(hart::Endpoint& endpoint, std::optional<hart::PresharedKey>& key);
    hart::ScanEvents eventsFor(int generation);
    void asking(std::uint8_t pollAddress);
    void found(const hart::FoundDevice& device);
    void finished(const hart::ScanEnd& end);
    void showStatus(const QString& text, bool problem = false);
    void updateButtons();
    void chooseKeyFile();

    QLineEdit* m_address;
    QLineEdit* m_keyFile;
    QToolButton* m_browse;
    QSpinBox* m_lastPoll;
    QPushButton* m_search;
    QProgressBar* m_progress;
    QLabel* m_statusIcon;
    QLabel* m_status;
    QTreeWidget* m_found;
    QPushButton* m_connect;
    QPushButton* m_connectAll;  // Pick::Many only
    QPushButton* m_cancel;
    Pick m_pick;

    std::unique_ptr<hart::DeviceScan> m_scan;
    hart::Endpoint m_searched;  // the endpoint of the rows listed
    hart::ScanRange m_range;
    int m_generation = 0;  // news of an earlier search is passed over
    QStringList m_chosen;
};

}  // namespace orvx::frame
