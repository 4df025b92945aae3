#include "AddressControl.h"

#include "device/DeviceNames.h"
#include "device/IDtmUiEarlier.h"
#include "device/StringBridge.h"
#include "framework/WriteRefusal.h"
#include "platform/com/ComError.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/DialogUnits.h"
#include "platform/ui/PostCall.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvx::host {

CTAdress::CTAdress()
{
    SetProgId(QString::fromLatin1(kProgId));
}

CTAdress::~CTAdress()
{
    delete m_window.data();
}

com::Status CTAdress::CreateControlWindow(QWidget* parent)
{
    if (m_window)
        return com::Status::Failure;
    m_window = new QWidget(parent);
    m_group = new QGroupBox(QStringLiteral("Target address"), m_window);
    m_group->setObjectName(ui::itemName(351));
    auto* label = new QLabel(QStringLiteral("Target address:"), m_group);
    m_list = new QComboBox(m_group);
    m_list->setObjectName(ui::itemName(kAddressList));
    for (int address = 0; address <= 15; ++address)
        m_list->addItem(QString::number(address));
    m_list->setCurrentIndex(0);
    m_apply = new QPushButton(QStringLiteral("Apply"), m_group);
    m_apply->setObjectName(ui::itemName(kApplyButton));
    m_apply->setEnabled(false);
    auto* close = new QPushButton(QStringLiteral("Close"), m_group);
    close->setObjectName(ui::itemName(kCloseButton));

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_list, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_apply);
    buttons->addWidget(close);
    auto* groupLayout = new QVBoxLayout(m_group);
    groupLayout->addLayout(row);
    groupLayout->addStretch(1);
    groupLayout->addLayout(buttons);

    // The panel is 339 by 241 dialog units, the group frame 7 units inside it.
    const QSize margin = ui::dialogUnits(m_window->font(), QSize(7, 7));
    m_group->setGeometry(
        QRect(QPoint(margin.width(), margin.height()), ui::dialogUnits(m_window->font(), QSize(325, 220))));

    QObject::connect(m_list, &QComboBox::activated, m_window,
                     [this](int index) { ui::runGuarded("address selection", [&] { OnSelectionChanged(index); }); });
    QObject::connect(m_apply, &QPushButton::clicked, m_window, [this] { ui::runGuarded("Apply", [&] { OnApply(); }); });
    QObject::connect(close, &QPushButton::clicked, m_window, [this] { ui::runGuarded("Close", [&] { OnClose(); }); });
    PlaceControlWindow();
    return com::Status::Ok;
}

void CTAdress::PlaceControlWindow()
{
    if (m_window && m_group) {
        const QPoint corner = m_group->geometry().bottomRight();
        m_window->resize(corner.x() + 1 + 20, corner.y() + 1 + 20);
    }
}

void CTAdress::OnSelectionChanged(int index)
{
    if (Earlier() && m_apply)
        m_apply->setEnabled(IsWritable() && index != CurrentAddress());
}

void CTAdress::OnApply()
{
    device::IDtmUiEarlier* earlier = Earlier();
    if (!earlier || !m_list)
        return;
    if (!IsWritable()) {
        ui::reportError(framework::writeRefusedText());
        return;
    }
    const int index = m_list->currentIndex();
    // The command takes whatever address the device holds: it follows only a write that took.
    try {
        const auto send = [earlier](const QString& tag, const com::Variant& value, const char* what) {
            std::uint32_t word = 0;
            com::check(com::callOut([&] { return earlier->SetParameter(device::toBStr(tag), value, &word); }, what),
                       what);
        };
        send(device::tag::PollingAddress, com::Variant::int32(index), "writing the polling address");
        send(device::method::tagOf(device::method::WritePollingAddress), com::Variant(),
             "sending the polling address to the device");
    } catch (const std::exception& error) {
        ui::reportError(
            QStringLiteral("The polling address was not changed: %1").arg(QString::fromLocal8Bit(error.what())));
        return;
    }
    m_apply->setEnabled(false);
    SetCurrentAddress(index);
}

void CTAdress::OnClose()
{
    if (device::IDtmUiEarlier* earlier = Earlier())
        earlier->CloseControl(device::toBStr(CallerTag()));
}

}  // namespace orvx::host
